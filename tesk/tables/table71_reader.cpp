#include "tesk/tables/table71_reader.hpp"

#include <cmath>

namespace tesk {

Table71Reader::Table71Reader(const std::string& path) : in_(path) {
  for (int i = 0; i < kTable71HeaderLines; ++i) {
    if (in_.read_free() == rec::ReadStatus::end) return;
  }
}

void read_target_samples(const std::string& table71, float tfactor, TargetSamples& samples) {
  Table71Reader in(table71);
  float target = 0.0f;
  double all_gases = 0.0;
  int n = 0;
  for (int l = 1; l <= kMaxTableSamples; ++l) {
    if (in.next({&samples.wavenumber(l), &target, &samples.other_gases(l), &all_gases, &samples.sensitivity(l)}) ==
        rec::ReadStatus::end) {
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
  Table71Reader in(table71);
  float target = 0.0f;
  float other_gases = 0.0f;
  int n = 0;
  for (int l = 1; l <= kMaxTableSamples; ++l) {
    if (in.next({&samples.wavenumber(l), &target, &other_gases, &samples.all_gases(l)}) == rec::ReadStatus::end) {
      break;
    }
    n = l;
  }
  in.close();
  samples.np = n;
  samples.ordered = never_decreases(samples.wavenumber, n);
}

}  // namespace tesk
