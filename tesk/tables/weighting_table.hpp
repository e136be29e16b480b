// The averaged weighting-function table (table77): per path segment the
// means of the weighting functions over 20 spectral bins, their mean and the
// segment's altitude.
#pragma once

#include <span>
#include <string>

#include "common/records.hpp"
#include "tesk/kernels/weighting_functions.hpp"

namespace tesk {

// Writes table77 (`path`, created or replaced): per segment the means of K
// over 20 bins of points, their mean and the altitude; says so on the
// console. Bins share their boundary points and hold only points 0..npts; a
// bin without points has mean 0. With `segments` empty only the header is
// written. Throws rec::RecordError when the file cannot be written.
void write_averaged_weighting_table(const std::string& path, const WeightingMatrix& k,
                                    std::span<const Segment> segments, int npts, rec::Console& console);

}  // namespace tesk
