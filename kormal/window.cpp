#include "kormal/window.hpp"

#include <utility>

#include "common/nint.hpp"
#include "common/report.hpp"
#include "kormal/limits.hpp"

namespace kormal {

double WindowRecord::nu(int i) const { return lo + static_cast<double>(i) * kSpacing; }

WindowRecord make_window(std::string row, float centre, double width) {
  WindowRecord w;
  w.row = std::move(row);
  const char first = w.row[0];
  if (first >= '1' && first <= '5') {
    w.isotope = first - '0';
    w.gasname = w.row.substr(1, 7);
  } else {
    w.gasname = w.row.substr(0, 7);
  }
  w.centre = centre;
  w.width = width;
  w.fmin = static_cast<double>(w.centre) - w.width / 2.0;
  w.fmax = static_cast<double>(w.centre) + w.width / 2.0;
  w.lo = w.fmin - kMargin;
  w.hi = w.fmax + kMargin;
  w.k = rec::nint(kMargin / kSpacing);
  // A window too wide for the grid keeps a count above the limit, whatever its
  // size, so that the run can stop on it.
  const double steps = (w.hi - w.lo) / kSpacing;
  w.n = steps <= kMaxGridPoints + 1.0 ? rec::nint(steps) : kMaxGridPoints + 1;
  return w;
}

WindowRecord decode_window(std::string_view row, rec::Where where) {
  std::string text(row.substr(0, kRowLength));
  text.resize(kRowLength, ' ');
  float centre = 0.0f;
  double width = 0.0;
  where.first_column = 9;
  if (rec::read_free_internal(std::string_view(text).substr(8), {&centre, &width}, where) != rec::ReadStatus::ok) {
    rec::record_error(" No window centre and width in columns 9-23 of " + std::string(where.file) + ", record " +
                      std::to_string(where.record) + ": found \"" + text + "\"");
  }
  WindowRecord w = make_window(std::move(text), centre, width);
  // A window has a width; below 0 its edges would be reversed.
  if (w.width < 0.0) {
    rec::record_error(" Window width below 0 in " + rec::describe(where) + ": found \"" + row_text(w) + "\"");
  }
  return w;
}

std::string row_text(const WindowRecord& w) {
  std::size_t end = w.row.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : w.row.substr(0, end + 1);
}

}  // namespace kormal
