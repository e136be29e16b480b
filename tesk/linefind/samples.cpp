#include "tesk/linefind/samples.hpp"

#include <cmath>

#include "common/records.hpp"

namespace tesk {
namespace {

// table71 starts with its column count, its units and its column header.
constexpr int kSpectrumHeaderLines = 3;

void skip_spectrum_header(rec::TextReader& in) {
  for (int i = 0; i < kSpectrumHeaderLines; ++i) {
    if (in.read_free() == rec::ReadStatus::end) return;
  }
}

}  // namespace

bool never_decreases(const rec::Levels<float>& wavenumber, int n) {
  for (int l = 2; l <= n; ++l) {
    if (!(wavenumber(l) >= wavenumber(l - 1))) return false;
  }
  return true;
}

void read_target_samples(const std::string& table71, float tfactor, TargetSamples& samples) {
  if (tfactor == 1.0f) rec::stop(kUnitTargetFactor);
  rec::TextReader in(table71);
  skip_spectrum_header(in);
  float target = 0.0f;
  double all_gases = 0.0;
  int n = 0;
  for (int l = 1; l <= kMaxTableSamples; ++l) {
    if (in.read_free({&samples.wavenumber(l), &target, &samples.other_gases(l), &all_gases,
                      &samples.sensitivity(l)}) == rec::ReadStatus::end) {
      break;
    }
    n = l;
  }
  in.close();
  const float scale = tfactor - 1.0f;
  for (int l = 1; l <= n; ++l) samples.sensitivity(l) = std::fabs(samples.sensitivity(l) / scale);
  samples.nsamp = n;
  samples.ordered = never_decreases(samples.wavenumber, n);
}

void read_window_samples(const std::string& table71, WindowSamples& samples) {
  rec::TextReader in(table71);
  skip_spectrum_header(in);
  float target = 0.0f;
  float other_gases = 0.0f;
  int n = 0;
  for (int l = 1; l <= kMaxTableSamples; ++l) {
    if (in.read_free({&samples.wavenumber(l), &target, &other_gases, &samples.all_gases(l)}) ==
        rec::ReadStatus::end) {
      break;
    }
    n = l;
  }
  in.close();
  samples.np = n;
  samples.ordered = never_decreases(samples.wavenumber, n);
}

}  // namespace tesk
