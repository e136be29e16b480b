// Fuzz target: "solar.dat". The file is read pair by pair in both
// precisions, then used as each program uses it: the line-finding program
// averages it over the cells of an interval's grid (the first byte of the
// input chooses the grid's start among a few around the file's usual
// range), the interfering-gas program walks it over a window's points as
// its solar pseudo-gas.
#include <vector>

#include "fuzz_support.hpp"
#include "inputs/solar_file.hpp"
#include "kormal/solar.hpp"
#include "tesk/engine/solar_spectrum.hpp"
#include "tesk/tables/solar_file.hpp"

namespace {

struct Fixture {
  kormal::WindowRecord window = kormal::decode_window("co      2100.50  0.30", rec::Where{"fixture", 1});
  kormal::GasTable gases;
  kormal::WindowMeasures measures;
  std::vector<double> all_gases = std::vector<double>(401);
  std::vector<double> all_scaled = std::vector<double>(401);
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture f;
  std::string_view in = fuzzing::bytes(data, size);
  const unsigned sel = fuzzing::take_byte(in);
  const fuzzing::WorkDir& dir = fuzzing::WorkDir::get();
  dir.write("solar.dat", in);

  fuzzing::expect_clean_end([&] {
    inputs::SolarFile file(dir.prefix());
    float nu = 0.0f, value = 0.0f;
    while (file.next(nu, value)) {
    }
  });
  fuzzing::expect_clean_end([&] {
    inputs::SolarFile file(dir.prefix());
    double nu = 0.0, value = 0.0;
    file.skip();
    while (file.next(nu, value)) {
    }
  });

  tesk::IntervalGrid g;
  g.vstart = 640.0f + 0.5f * static_cast<float>(sel & 0x7fu);
  g.grid = (sel & 0x80u) ? 0.5f : 0.01f;
  g.npts = 400;
  g.vend = g.nu(g.npts);
  std::fill(f.all_gases.begin(), f.all_gases.end(), 1.0);
  std::fill(f.all_scaled.begin(), f.all_scaled.end(), 0.5);
  fuzzing::expect_clean_end([&] {
    tesk::SolarSpectrum sun(tesk::solar_file_source(dir.prefix()));
    tesk::apply_solar_spectrum(sun, f.all_gases, f.all_scaled, g);
  });

  kormal::WindowMeasures& m = f.measures;
  m.nspeci = 1;
  m.imax(1) = f.window.k;
  m.y = 1.0;
  for (int i = 1; i <= f.window.n; ++i) m.t_others(i) = 1.0;
  f.gases.reset();
  fuzzing::expect_clean_end([&] { kormal::add_solar_pseudo_gas(dir.prefix(), f.window, 1, f.gases, m); });
  return 0;
}
