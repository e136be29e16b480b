// The spectrum samples of table71 as the line finding uses them (the table
// layer reads them, table71_reader.hpp), and the search of the samples that
// fall into a window around a line. table71 lists
// its samples by increasing wavenumber, so a window is found by bisection and
// then walked; a table whose wavenumbers decrease somewhere is searched
// sample by sample instead, with the same result.
#pragma once

#include <algorithm>
#include <functional>

#include "common/arrays.hpp"

namespace tesk {

// Samples 1..nsamp of a study-d table71 as the target-line tables use them,
// one per row of the table (the reader sizes them).
struct TargetSamples {
  rec::Levels<float> wavenumber;   // cm-1
  rec::Levels<float> other_gases;  // spectrum of all gases but the target
  rec::Levels<float> sensitivity;  // change per unit relative change of the target
  int nsamp = 0;
  bool ordered = true;  // wavenumbers never decrease
};

// Samples 1..np of table71 as the window optimisation uses them, one per row.
struct WindowSamples {
  rec::Levels<float> wavenumber;  // cm-1
  rec::Levels<float> all_gases;   // spectrum of all gases
  int np = 0;
  bool ordered = true;
};

// How the line finding gets its samples: the caller reads table71 into them
// when a step asks, so that a failing read stops the run where it always has.
struct SampleReaders {
  std::function<void(TargetSamples&)> target;
  std::function<void(WindowSamples&)> window;
};

// Whether wavenumber(1..n) never decreases (a NaN counts as a decrease).
bool never_decreases(const rec::Levels<float>& wavenumber, int n);

// Calls visit(l), by increasing l, for every sample l of 1..last whose
// wavenumber w has not_below(w) and not_above(w), exactly as a scan of every
// sample would. The predicates must be monotone in w: not_below false up to
// some wavenumber and true from there on, not_above the reverse. When
// `ordered` is true the first sample is found by bisection and the walk ends
// at the first sample above the window.
template <class NotBelow, class NotAbove, class Visit>
void for_each_sample_in(const rec::Levels<float>& wavenumber, int last, bool ordered, NotBelow not_below,
                        NotAbove not_above, Visit visit) {
  if (last <= 0) return;
  const auto w = wavenumber.span().first(static_cast<std::size_t>(last));
  if (!ordered) {
    for (int l = 1; l <= last; ++l) {
      const float v = w[static_cast<std::size_t>(l - 1)];
      if (not_below(v) && not_above(v)) visit(l);
    }
    return;
  }
  const auto first = std::partition_point(w.begin(), w.end(), [&](float v) { return !not_below(v); });
  for (auto it = first; it != w.end() && not_above(*it); ++it) visit(static_cast<int>(it - w.begin()) + 1);
}

}  // namespace tesk
