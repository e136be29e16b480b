#include "tesk/engine/solar_spectrum.hpp"

#include <cassert>

namespace tesk {

namespace {

void scale(std::span<double> spec, int j, float factor) {
  if (!spec.empty()) spec[static_cast<std::size_t>(j)] *= static_cast<double>(factor);
}

}  // namespace

bool SolarSpectrum::sample(std::size_t i, SolarSample& s) {
  while (i >= read_.size()) {
    if (ended_) return false;
    SolarSample next;
    if (!next_(next)) {
      ended_ = true;
      return false;
    }
    read_.push_back(next);
  }
  s = read_[i];
  return true;
}

void apply_solar_spectrum(SolarSpectrum& sun, std::span<double> all_gases, std::span<double> all_scaled,
                          const IntervalGrid& g) {
  const int npts = g.npts;
  const float vstart = g.vstart, grid = g.grid;
  assert(all_gases.empty() || npts < 0 || all_gases.size() > static_cast<std::size_t>(npts));
  assert(all_scaled.empty() || npts < 0 || all_scaled.size() > static_cast<std::size_t>(npts));
  std::size_t next = 0;  // the sample the next read gives
  const auto read_sample = [&](SolarSample& s) { return sun.sample(next++, s); };
  SolarSample s0;
  SolarSample s1;
  if (!read_sample(s0) || !read_sample(s1)) return;

  int count = 0;
  float sum = 0.0f;
  int j = 0;
  while (j <= npts) {
    const float lo = vstart + (static_cast<float>(j) - 0.5f) * grid;
    const float hi = vstart + (static_cast<float>(j) + 0.5f) * grid;
    const float h = (s1.w - s0.w) / 2.0f;
    if (s0.w - h > hi) {  // the next sample lies above this cell: no solar factor
      ++j;
      continue;
    }
    if (s0.w + h < lo) {  // the sample lies below this cell: move on in the file
      s0 = s1;
      if (!read_sample(s1)) break;
      continue;
    }
    if (s0.w + h > lo && s0.w - h < hi) {
      ++count;
      sum += s0.f;
    }
    if (s0.w + h > hi && count >= 1) {
      // The sample reaches into the next cell too, so it is tested again there.
      const float mean = sum / static_cast<float>(count);
      scale(all_gases, j, mean);
      scale(all_scaled, j, mean);
      count = 0;
      sum = 0.0f;
      ++j;
    } else {
      s0 = s1;
      if (!read_sample(s1)) break;
    }
  }
}

}  // namespace tesk
