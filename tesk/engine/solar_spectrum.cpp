#include "tesk/engine/solar_spectrum.hpp"

#include <cassert>
#include <string>

#include "inputs/solar_file.hpp"

namespace tesk {

namespace {

struct Sample {
  float w = 0.0f;  // cm-1
  float f = 0.0f;  // relative solar value
};

bool read_sample(inputs::SolarFile& in, Sample& s) { return in.next(s.w, s.f); }

void scale(std::span<double> spec, int j, float factor) {
  if (!spec.empty()) spec[static_cast<std::size_t>(j)] *= factor;
}

}  // namespace

void apply_solar_spectrum(std::span<double> all_gases, std::span<double> all_scaled,
                          std::string_view inpath, const IntervalGrid& g) {
  const int npts = g.npts;
  const float vstart = g.vstart, grid = g.grid;
  assert(all_gases.empty() || npts < 0 || all_gases.size() > static_cast<std::size_t>(npts));
  assert(all_scaled.empty() || npts < 0 || all_scaled.size() > static_cast<std::size_t>(npts));
  inputs::SolarFile in(inpath);

  // The first record of the file is a header pair, not a sample.
  Sample s0;
  Sample s1;
  if (!in.skip() || !read_sample(in, s0) || !read_sample(in, s1)) {
    in.close();
    return;
  }

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
      if (!read_sample(in, s1)) break;
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
      if (!read_sample(in, s1)) break;
    }
  }
  in.close();
}

}  // namespace tesk
