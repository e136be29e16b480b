// The tables of the information step: the microwindows it reads from
// table76, and table79, one row per window and one for all windows together
// with the points, degrees of freedom, covered altitudes and column error
// budget of a retrieval.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/records.hpp"
#include "tesk/kernels/retrieval_budget.hpp"

namespace tesk {

// One row of table76.
struct MicroWindow {
  std::string label;    // gas label, 8 characters
  float centre = 0.0f;  // cm-1, to the 0.01 that table76 prints
  float width = 0.0f;   // cm-1
};

// The window that a row of table76 (or the first 23 characters of a row of
// table75) gives: label, centre and width. Throws rec::RecordError for an
// unreadable row or a width below 0, naming `where`.
void read_window_row(const std::string& row, const rec::Where& where, MicroWindow& w);

// A column error (%) as the f9.3 fields of table79 and table81 hold it:
// 100000 % or more is written as 99999.999, meaning that much or more.
double capped_error(double percent);

// The windows of table76 (`path`), in its order. Throws rec::RecordError for
// a missing file, an unreadable row, a width below 0, or a last row cut short.
std::vector<MicroWindow> read_microwindows(const std::string& path);

// What table79 tells of a retrieval from one window or from all together.
struct InformationRow {
  bool singular = false;  // Se has no inverse (a noise of 0): nothing below holds
  double dofs = 0.0;      // degrees of freedom
  float zlow = 0.0f;      // km, lowest altitude whose kernel area exceeds 0.5 (0 when none does)
  float zhigh = 0.0f;     // km, highest such altitude (0 when none does)
  ColumnErrors errors;    // % of the target's column
};

// The label of the row of all windows together.
inline constexpr std::string_view kAllWindowsLabel = "all     ";

// What a table79 was computed with, written in its header so that a reader
// can tell it from a deck echo of another run. Values as the deck has them.
struct InformationOrigin {
  float vlo = 0.0f, vhi = 0.0f;  // range, cm-1
  float grid = 0.0f;             // cm-1
  float resol = 0.0f;            // maximum path difference, cm
  float fovrad = 0.0f;           // field-of-view radius, rad
  float noise = 0.0f;            // of the normalised spectrum
  std::string gasname;           // target, 7 characters
  int isotope = 0;               // 0 all isotopes
};

// table79, created or replaced when opened; its header goes first: one line
// per value of the origin (a key, then the values in e16.9, which a single
// precision value reads back exactly; the target as name and isotope), then
// the column heading.
class InformationTable {
 public:
  // Throws rec::RecordError when the file cannot be written.
  InformationTable(const std::string& path, const InformationOrigin& origin);
  // One row: label (8 characters), centre and width (cm-1), spectral points
  // and what the kernels tell, then the column errors (f9.3 each; 100000 %
  // or more is written as 99999.999), or " singular" after the points.
  void row(std::string_view label, float centre, float width, int points, const InformationRow& r);
  void close() { table_.close(); }

 private:
  rec::TextWriter table_;
};

}  // namespace tesk
