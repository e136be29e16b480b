// The state of one run of the line-finding program: the deck's answers, the
// setup of the compute steps and the names derived from the deck, the model
// atmosphere, the air path and the arrays of the spectral intervals. Created
// once by run control and passed by reference to its steps, which hand the
// compute steps only the setup and the arrays they read and fill.
#pragma once

#include <optional>
#include <vector>

#include "common/arrays.hpp"
#include "inputs/line_list.hpp"
#include "tesk/atmosphere/atmosphere.hpp"
#include "tesk/engine/cosine_transform.hpp"
#include "tesk/engine/interval_grid.hpp"
#include "tesk/engine/solar_spectrum.hpp"
#include "tesk/engine/spectra.hpp"
#include "tesk/engine/spectrum_setup.hpp"
#include "tesk/kernels/averaging_kernels.hpp"
#include "tesk/kernels/weighting_functions.hpp"
#include "tesk/limits.hpp"
#include "tesk/run/deck.hpp"
#include "tesk/run/file_names.hpp"
#include "tesk/run/plan_settings.hpp"

namespace tesk {

// The air path through the model layers.
struct AirPath {
  rec::Levels<float> pathfac{kMaxLevels};  // slant factor (ground) or km of path (limb) per layer
  rec::Levels<int> levorder{kMaxLevels};   // layer of each segment along the line of sight
  int nseg = 0;                            // path segments
  int tangent_layer = 0;                   // limb path: the lowest layer it reaches
  int nlayers = 0;                         // layers whose optical depths the line pass computes
};

// The model atmosphere and the air path through it, as the compute steps
// read them.
struct PathModel {
  const Atmosphere& atm;
  const AirPath& path;
};

// The arrays of a spectral interval, sized once for the largest interval and
// reused by every one. After the interval loop they hold the last interval,
// which for the weighting-function studies is the whole range: the kernels
// read them there.
struct IntervalWork {
  Extinction ext;                         // optical depths per class, layer and point
  Spectra spec;                           // spectra per class and point
  CosineTransform plans;                  // transform plans of the instrument line shape
  std::vector<inputs::LineRecord> lines;  // the lines that reach the current interval
  WeightingMatrix k = make_weighting_matrix();
  Matrix avk = make_kernel_matrix();      // averaging kernels of the kernel study
  IntervalGrid grid;                      // the current (after the loop: the last) interval
};

struct RunState {
  Deck deck;
  SpectrumSetup setup;  // the rules of the deck's spectra, built once from the deck
  FileNames names;
  PlanSettings plan;  // of the information step: input-plan, or its defaults
  std::optional<SolarSpectrum> sun;  // the solar spectrum, read when first needed
  Atmosphere atm;
  AirPath path;
  std::vector<Segment> segments;  // the path segments as the weighting functions and table70 see them
  IntervalWork work;
};

}  // namespace tesk
