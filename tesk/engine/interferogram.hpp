// The interferogram of study i: a spectrum taken back to the
// optical-path-difference domain by the forward cosine transform, padded with
// zeros to a power of two.
#pragma once

#include <span>
#include <string_view>

#include "tesk/engine/cosine_transform.hpp"

namespace tesk {

inline constexpr std::string_view kInterferogramTooLong = " decrease No of spectral points for FFT in convolution";

// The most spectral points an interferogram takes: the longest transform
// (cosine_transform.hpp). Storage is sized from the run; this bound is the
// transform's own, far beyond what a run writes in memory.
inline constexpr int kMaxInterferogramRows = 1 << kMaxTransformLog2;

// The transform length of `rows` spectral points: the smallest power of two N
// >= 2 that holds them. Throws rec::Stop(kInterferogramTooLong) when `rows`
// exceeds kMaxInterferogramRows. Touches no file or console.
int interferogram_length(int rows);

// Transforms x and y (each N values, N a power of two of at least 2, the
// points beyond the spectrum zero) in place by the forward cosine transform
// (cosine_transform.hpp). Touches no file or console.
void interferograms(std::span<float> x, std::span<float> y);

}  // namespace tesk
