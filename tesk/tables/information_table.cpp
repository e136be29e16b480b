#include "tesk/tables/information_table.hpp"

#include <algorithm>

#include "common/report.hpp"

namespace tesk {
namespace {

const rec::Format kRangeLine("('range   ',2(1x,e16.9))");
const rec::Format kGridLine("('grid    ',1x,e16.9)");
const rec::Format kPathDifferenceLine("('max-opd ',1x,e16.9)");
const rec::Format kFieldLine("('fov     ',1x,e16.9)");
const rec::Format kNoiseLine("('noise   ',1x,e16.9)");
const rec::Format kTargetLine("('target  ',1x,a7,1x,i3)");
const rec::Format kWindowRow("(a8,1x,f7.2,1x,f6.2)");
const rec::Format kTableHeader(
    "('name     cm-1     window points   dofs  zlow zhigh    noise%   smooth%   interf%     temp%    total%')");
const rec::Format kContentRow("(a8,1x,f7.2,1x,f6.2,1x,i6,1x,f6.3,1x,f5.1,1x,f5.1,5(1x,f9.3))");
const rec::Format kSingularRow("(a8,1x,f7.2,1x,f6.2,1x,i6,' singular')");

// table76: a title line, then rows of kWindowRow.
constexpr int kFirstWindowRow = 2;
constexpr std::size_t kWindowRowWidth = 23;

// The widest error the f9.3 fields hold; a larger one says only "that much or more".
constexpr double kLargestError = 99999.999;

}  // namespace

void read_window_row(const std::string& row, const rec::Where& where, MicroWindow& w) {
  rec::read_internal(row, kWindowRow, {&w.label, &w.centre, &w.width}, where);
  // Below 0 the window's edges would be reversed and its points negative.
  if (w.width < 0.0f) {
    rec::record_error(" Window width below 0 in " + rec::describe(where) + ": found \"" + row + "\"");
  }
}

double capped_error(double percent) { return std::min(percent, kLargestError); }

std::vector<MicroWindow> read_microwindows(const std::string& path) {
  rec::TextReader table76(path);
  std::vector<MicroWindow> windows;
  std::string heading;
  if (table76.next_record(heading) == rec::ReadStatus::end) return windows;
  MicroWindow w;
  w.label.assign(8, ' ');
  table76.expect_rows(kFirstWindowRow, kWindowRowWidth);
  std::string row;
  while (table76.next_record(row) == rec::ReadStatus::ok) {
    read_window_row(row, rec::Where{path, table76.record_number()}, w);
    windows.push_back(w);
  }
  table76.close();
  return windows;
}

InformationTable::InformationTable(const std::string& path, const InformationOrigin& origin) : table_(path) {
  table_.write(kRangeLine, {origin.vlo, origin.vhi});
  table_.write(kGridLine, {origin.grid});
  table_.write(kPathDifferenceLine, {origin.resol});
  table_.write(kFieldLine, {origin.fovrad});
  table_.write(kNoiseLine, {origin.noise});
  table_.write(kTargetLine, {std::string_view(origin.gasname), origin.isotope});
  table_.write(kTableHeader);
}

void InformationTable::row(std::string_view label, float centre, float width, int points,
                           const InformationRow& r) {
  if (r.singular) {
    table_.write(kSingularRow, {label, centre, width, points});
    return;
  }
  const ColumnErrors& e = r.errors;
  table_.write(kContentRow, {label, centre, width, points, r.dofs, r.zlow, r.zhigh, capped_error(e.noise),
                             capped_error(e.smoothing), capped_error(e.interference), capped_error(e.temperature),
                             capped_error(e.total)});
}

}  // namespace tesk
