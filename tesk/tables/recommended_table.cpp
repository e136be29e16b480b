#include "tesk/tables/recommended_table.hpp"

#include "tesk/linefind/table_header.hpp"

namespace tesk {
namespace {

const rec::Format kHeading(
    "('rank name         lower     upper points   dofs  jdofs    total%    noise%   smooth%   interf%     temp%')");
const rec::Format kRow("(i4,1x,a8,2(1x,f9.3),1x,i6,2(1x,f6.3),5(1x,f9.3))");

}  // namespace

CandidateTable read_candidate_windows(const std::string& path) {
  rec::TextReader table75(path);
  CandidateTable t;
  std::string line;
  const int nhead = read_header_count(table75, line);
  t.header.push_back(line);
  for (int i = 2; i <= nhead + 3; ++i) {  // the deck lines, two blank lines and the heading
    read_header_line(table75, line);
    if (i <= nhead) t.header.push_back(line);
  }
  MicroWindow w;
  w.label.assign(8, ' ');
  std::string row;
  while (table75.next_record(row) == rec::ReadStatus::ok) {
    read_window_row(row, rec::Where{path, table75.record_number()}, w);
    t.windows.push_back(w);
  }
  table75.close();
  return t;
}

RecommendedTable::RecommendedTable(const std::string& path, const std::vector<std::string>& header) : table_(path) {
  for (const std::string& line : header) write_header_line(table_, line);
  write_blank_lines(table_);
  table_.write(kHeading);
}

void RecommendedTable::row(const RecommendedRow& r) {
  const ColumnErrors& e = r.errors;
  table_.write(kRow, {r.rank, r.label, r.lower, r.upper, r.points, r.dofs, r.joint_dofs, capped_error(e.total),
                      capped_error(e.noise), capped_error(e.smoothing), capped_error(e.interference),
                      capped_error(e.temperature)});
}

}  // namespace tesk
