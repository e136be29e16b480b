// One window of the window table (a table76 or a table81 of a line-finding
// run) as this program reads it: an optional isotope digit, the target's gas
// name, the window's centre and width, and the grid that the window's spectra
// are computed on.
#pragma once

#include <string>
#include <string_view>

#include "common/records.hpp"

namespace kormal {

inline constexpr int kRowLength = 23;     // characters of a row that are read
inline constexpr int kHeaderLength = 24;  // characters of the title (table76) or heading (table81) that microwin keeps

struct WindowRecord {
  std::string row;       // the table76 row's first kRowLength characters, blank-padded
  int isotope = 0;       // isotope digit 1..5; 0 when the row has none
  std::string gasname;   // 7 characters: columns 2-8 after a digit, else 1-7
  float centre = 0.0f;   // cm-1
  double width = 0.0;    // cm-1
  double fmin = 0.0;     // centre - width/2, cm-1
  double fmax = 0.0;     // centre + width/2, cm-1
  double lo = 0.0;       // fmin less the margin: grid point 0
  double hi = 0.0;       // fmax plus the margin
  int k = 0;             // points of the margin: the interior is k .. n - k
  int n = 0;             // last grid point

  double nu(int i) const;  // cm-1 of grid point i
};

// A window from its table76 row `row` (kRowLength characters: the label in
// columns 1-8, which name the gas) and its centre and width as read. Sets the
// edges and the grid; no check, no file or console.
WindowRecord make_window(std::string row, float centre, double width);

// Decodes a table76 row. A digit 6 to 9 (or any other character) in column 1 is part
// of the name. Centre and width are read free-form from columns 9 to 23.
// Throws rec::RecordError, naming `where`, when they are missing or unreadable
// or the width is below 0.
WindowRecord decode_window(std::string_view row, rec::Where where);

// The row's text without its trailing blanks, for console lines about it.
std::string row_text(const WindowRecord& w);

}  // namespace kormal
