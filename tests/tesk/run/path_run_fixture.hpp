// A run state on the small isothermal atmosphere of the end-to-end tests,
// for the steps of a spectral run tested one by one.
#pragma once

#include <memory>
#include <string>

#include "e2e/spectral_fixture.hpp"
#include "program_run.hpp"
#include "tesk/run/path_setup.hpp"
#include "tesk/run/run_state.hpp"

namespace run_test {

// The deck answers the path set-up and the line pass read; CO is the target.
inline std::unique_ptr<tesk::RunState> make_state(const testing_support::WorkDir& dir, char geom, float geomval,
                                                  int ndrop) {
  e2e::write_atmosphere(dir);
  auto state = std::make_unique<tesk::RunState>();
  tesk::Deck& d = state->deck;
  d.inpath = dir.path().string() + "/";
  d.model = tesk::ModelAtmosphere::mid_latitude;
  d.gasno = 5;
  d.target_scale = 1.0f;
  d.geom = static_cast<tesk::Geometry>(geom);  // the enumerators carry the deck letters
  d.geomval = geomval;
  d.ndrop = ndrop;
  d.dbtype = tesk::LineDatabase::hitran;
  d.reclen = 101;
  d.margin = 1.0f;
  d.wing_threshold = 1.0e-8f;
  d.altlo = 0.0f;
  d.althi = 10.0f;
  return state;
}

}  // namespace run_test
