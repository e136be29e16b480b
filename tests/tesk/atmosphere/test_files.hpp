// Small standard-atmosphere files written by the tests into a temporary
// directory of their own, so that the reading rules and the layer
// construction can be checked on profiles whose answers are known.
#pragma once

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>

#include "common/stop.hpp"
#include "program_run.hpp"

namespace atmtest {

// The message of the stop that `f` ends with, or "(no stop)".
inline std::string stop_message(const std::function<void()>& f) {
  try {
    f();
  } catch (const rec::Stop& e) {
    return e.what();
  }
  return "(no stop)";
}

// A fresh directory under the system's temporary directory, removed again.
class TempDir {
 public:
  // The directory as an input-path prefix: ends with its separator.
  std::string prefix() const { return dir_.path().string() + "/"; }
  std::string file(const std::string& name) const { return (dir_.path() / name).string(); }
  void write(const std::string& name, const std::string& text) const { dir_.write(name, text); }

 private:
  testing_support::WorkDir dir_;
};

inline std::string num(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.9g", v);
  return buf;
}

struct PtLevel {
  double pres;  // hPa
  double temp;  // K
  double alt_m;
};

// A .mod file: header line count, one comment line, then the levels.
inline std::string pt_text(const std::vector<PtLevel>& levels) {
  std::string s = "2\n pressure [hPa] temperature [K] altitude [m]\n";
  for (const auto& l : levels) s += " " + num(l.pres) + "  " + num(l.temp) + "  " + num(l.alt_m) + "\n";
  return s;
}

// Levels every `step_km` from `bottom_km` to `top_km` of an isothermal
// atmosphere with scale height `scale_km`: the density falls exponentially.
inline std::vector<PtLevel> exponential_levels(double bottom_km, double top_km, double step_km,
                                               double scale_km = 8.0, double temp = 250.0) {
  std::vector<PtLevel> v;
  const int n = static_cast<int>(std::lround((top_km - bottom_km) / step_km));
  for (int k = 0; k <= n; ++k) {
    const double z = bottom_km + k * step_km;
    v.push_back({1013.25 * std::exp(-z / scale_km), temp, z * 1000.0});
  }
  return v;
}

// A .vmr file of `ngas` gases at the given altitudes; gas g at altitude z has
// the vmr value(g, z). Each record is wrapped after four values on a line, as
// the standard files wrap theirs.
inline std::string vmr_text(int ngas, const std::vector<double>& alts,
                            const std::function<double(int, double)>& value) {
  std::string s = std::to_string(3) + " " + std::to_string(ngas + 1) + "\n";
  s += "free text of the header, with 'quotes', commas, and 12 numbers 3.4\n";
  s += "second header line\n";
  for (double z : alts) {
    s += "  " + num(z);
    for (int g = 1; g <= ngas; ++g) {
      s += (g % 4 == 0) ? "\n    " : "  ";
      s += num(value(g, z));
    }
    s += "\n";
  }
  return s;
}

// Whole kilometres from `bottom` to `top`.
inline std::vector<double> km_range(int bottom, int top) {
  std::vector<double> v;
  for (int z = bottom; z <= top; ++z) v.push_back(z);
  return v;
}

// The vmr of gas g at altitude z used by most tests: distinct for every gas,
// varying with altitude.
inline double sample_vmr(int g, double z) { return 1.0e-6 * g * (1.0 + 0.01 * z); }

}  // namespace atmtest
