#include "tesk/tables/information_table.hpp"

namespace tesk {
namespace {

const rec::Format kWindowRow("(a8,1x,f7.2,1x,f6.2)");
const rec::Format kTableHeader("('name     cm-1     window points   dofs  zlow zhigh')");
const rec::Format kContentRow("(a8,1x,f7.2,1x,f6.2,1x,i6,1x,f6.3,1x,f5.1,1x,f5.1)");
const rec::Format kSingularRow("(a8,1x,f7.2,1x,f6.2,1x,i6,' singular')");

}  // namespace

std::vector<MicroWindow> read_microwindows(const std::string& path) {
  rec::TextReader table76(path);
  std::vector<MicroWindow> windows;
  std::string heading;
  if (table76.next_record(heading) == rec::ReadStatus::end) return windows;
  MicroWindow w;
  w.label.assign(8, ' ');
  while (table76.read(kWindowRow, {&w.label, &w.centre, &w.width}) == rec::ReadStatus::ok) windows.push_back(w);
  table76.close();
  return windows;
}

InformationTable::InformationTable(const std::string& path) : table_(path) { table_.write(kTableHeader); }

void InformationTable::row(std::string_view label, float centre, float width, int points,
                           const InformationContent& c) {
  if (c.singular) {
    table_.write(kSingularRow, {label, centre, width, points});
  } else {
    table_.write(kContentRow, {label, centre, width, points, c.dofs, c.zlow, c.zhigh});
  }
}

}  // namespace tesk
