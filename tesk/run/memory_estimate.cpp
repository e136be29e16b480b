#include "tesk/run/memory_estimate.hpp"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

#include "inputs/line_list.hpp"
#include "tesk/engine/convolution.hpp"
#include "tesk/engine/spectra.hpp"
#include "tesk/limits.hpp"
#include "tesk/run/spectral_run.hpp"

namespace tesk {
namespace {

constexpr double kDouble = sizeof(double);
constexpr double kFloat = sizeof(float);
constexpr double kLevelsSquare = static_cast<double>(kMaxLevels) * kMaxLevels;
constexpr double kMegabyte = 1024.0 * 1024.0;

// Rows of the run's table71: the points of every interval of the range.
double table_rows(const Deck& d) {
  double rows = 0.0;
  for (const IntervalGrid& g : interval_grids(d)) rows += std::max(g.npts + 1, 0);
  return rows;
}

// Values of the longest line-shape transform of the run's intervals (0 for a
// run that the convolution's length check will stop).
double longest_transform(const Deck& d) {
  const Instrument ils{d.resol, d.fovarea};
  long long longest = 0;
  for (const IntervalGrid& g : interval_grids(d)) longest = std::max(longest, convolution_points(ils, g));
  return static_cast<double>(longest);
}

// Per rated target line: wavenumber and key in double, five values in single
// and the ranking order; per window: centre and width.
constexpr double kRatedLineBytes = 2 * kDouble + 5 * kFloat + sizeof(int);
constexpr double kWindowBytes = 2 * kFloat;

}  // namespace

std::int64_t line_list_records(const Deck& d) {
  if (d.nrec > 0) return d.nrec;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(d.linefile, error);
  if (error || d.reclen <= 0) return 0;
  return static_cast<std::int64_t>(size / static_cast<std::uintmax_t>(d.reclen));
}

double memory_bytes(const Deck& d, std::int64_t records) {
  const double row = kMaxIntervalSteps + 1.0;
  // Every run: the optical depths of 4 classes, all path segments and every
  // point of the longest interval, the spectra of the classes, the weighting
  // functions of up to kMaxKernelPoints points and the kernel matrix.
  double bytes = kSpectrumClasses * static_cast<double>(kMaxLevels) * row * kDouble;
  bytes += kSpectrumClasses * row * kDouble;
  bytes += static_cast<double>(kMaxKernelPoints) * kMaxLevels * kDouble + kLevelsSquare * kDouble;
  if (d.runmode == RunMode::display) return bytes;

  const double lines = static_cast<double>(std::max<std::int64_t>(records, 0));
  if (d.runmode == RunMode::complete) {
    // Any record of the list may reach one interval; each class's convolution
    // holds its own transform, as long as the longest interval's.
    bytes += lines * sizeof(inputs::LineRecord);
    if (d.resol != 0.0f) bytes += kSpectrumClasses * longest_transform(d) * kFloat;
  }
  switch (d.study) {
    case Study::line_finding: {
      // The samples of table71 (wavenumber, other gases and sensitivity for
      // the target lines; wavenumber and all gases for the windows), every
      // record rated and made a window at most, and the information step's
      // six matrices over the path segments.
      bytes += table_rows(d) * 5 * kFloat;
      bytes += lines * (kRatedLineBytes + kWindowBytes);
      bytes += 6 * kLevelsSquare * kDouble;
      break;
    }
    case Study::kernels:
      if (d.runmode == RunMode::complete) {
        // Se over the points, K^T and its product with Se^-1, three matrices
        // over the segments.
        const double points = kMaxKernelPoints;
        bytes += (points * points + 2 * kMaxLevels * points + 3 * kLevelsSquare) * kDouble;
      }
      break;
    case Study::interferogram:
      // Two arrays of the transform length: the next power of two above twice
      // the rows at most.
      bytes += 2 * 4 * table_rows(d) * kFloat;
      break;
    case Study::spectra:
    case Study::weighting:
      break;
  }
  return bytes;
}

int memory_megabytes(const Deck& d, std::int64_t records) {
  const double mb = memory_bytes(d, records) / kMegabyte;
  if (!(mb < static_cast<double>(std::numeric_limits<int>::max()))) return std::numeric_limits<int>::max();
  return static_cast<int>(mb);
}

void write_memory_line(rec::Console& console, const Deck& d) {
  console.write_free({std::string_view(" Program requires approx. "), memory_megabytes(d, line_list_records(d)),
                      std::string_view(" Mbytes")});
  console.write_free();
}

}  // namespace tesk
