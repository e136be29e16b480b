// The tables of the window recommendation: the candidate windows it reads
// from table75 (every rated target line with its optimum window) and
// table81, the recommended windows with what a retrieval from the first of
// them would achieve.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/records.hpp"
#include "tesk/kernels/retrieval_budget.hpp"
#include "tesk/tables/information_table.hpp"

namespace tesk {

// table75: its header lines (the first nhead records of the deck echo, 200
// characters each) and the window of every row, in its order.
struct CandidateTable {
  std::vector<std::string> header;
  std::vector<MicroWindow> windows;
};

// Reads table75 (`path`). Throws rec::Stop for a header count outside
// 1..46; rec::RecordError for a missing file, a header cut short, an
// unreadable row or a width below 0.
CandidateTable read_candidate_windows(const std::string& path);

// One row of table81: the window, its own degrees of freedom, and the
// retrieval from the windows of rank 1 to this one.
struct RecommendedRow {
  int rank = 0;
  std::string_view label;
  double lower = 0.0, upper = 0.0;  // cm-1, window edges
  int points = 0;
  double dofs = 0.0;                // the window alone
  double joint_dofs = 0.0;          // windows 1..rank
  ColumnErrors errors;              // windows 1..rank, % of the column
};

// table81, created or replaced when opened: the header lines of the line
// tables (those of table75), two lines of one blank and the column heading.
class RecommendedTable {
 public:
  // Throws rec::RecordError when the file cannot be written.
  RecommendedTable(const std::string& path, const std::vector<std::string>& header);
  // (i4,1x,a8,2(1x,f9.3),1x,i6,2(1x,f6.3),5(1x,f9.3)): rank, label, edges,
  // points, degrees of freedom alone and so far, then the total column
  // error so far and its noise, smoothing, interference and temperature
  // parts; an error of 100000 % or more is written as 99999.999.
  void row(const RecommendedRow& r);
  void close() { table_.close(); }

 private:
  rec::TextWriter table_;
};

}  // namespace tesk
