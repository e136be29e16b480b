// The averaging-kernel tables (table78 of the kernel study, table80 of the
// microwindows together): every kernel row with its area, the sum over the
// row that tells how much of a change in that segment the retrieval would
// recover, and the segment's altitude.
#pragma once

#include <span>
#include <string>

#include "common/records.hpp"
#include "tesk/kernels/averaging_kernels.hpp"
#include "tesk/kernels/weighting_functions.hpp"

namespace tesk {

// Writes table78 (`path`, created or replaced) for the segments given, A(k, j)
// being row k: a header with the number of columns of the kernel rows and the
// segment altitudes (km), then per segment k its kernels A(k, 1..L), their
// area (summed in single precision) and its altitude. Closes the file and
// says so on the console. With `segments` empty only the three header lines
// are written. Throws rec::RecordError when the file cannot be written.
void write_kernel_table(const std::string& path, const Matrix& a, std::span<const Segment> segments,
                        rec::Console& console);

// The same table without the console line, for other kernel tables of the
// same layout (table80).
void write_kernel_file(const std::string& path, const Matrix& a, std::span<const Segment> segments);

}  // namespace tesk
