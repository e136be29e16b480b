// The tables of the information step: the microwindows it reads from
// table76, and table79, one row per window and one for all windows together
// with the points, degrees of freedom and covered altitudes of a retrieval.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/records.hpp"
#include "tesk/kernels/information_content.hpp"

namespace tesk {

// One row of table76.
struct MicroWindow {
  std::string label;    // gas label, 8 characters
  float centre = 0.0f;  // cm-1, to the 0.01 that table76 prints
  float width = 0.0f;   // cm-1
};

// The windows of table76 (`path`), in its order. Throws rec::RecordError for
// a missing file, an unreadable row, a width below 0, or a last row cut short.
std::vector<MicroWindow> read_microwindows(const std::string& path);

// The label of the row of all windows together.
inline constexpr std::string_view kAllWindowsLabel = "all     ";

// table79, created or replaced when opened; its header goes first.
class InformationTable {
 public:
  // Throws rec::RecordError when the file cannot be written.
  explicit InformationTable(const std::string& path);
  // One row: label (8 characters), centre and width (cm-1), spectral points
  // and what the kernels tell, or " singular" after the points.
  void row(std::string_view label, float centre, float width, int points, const InformationContent& c);
  void close() { table_.close(); }

 private:
  rec::TextWriter table_;
};

}  // namespace tesk
