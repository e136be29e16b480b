#include "kormal/window_table.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "common/edit_read.hpp"
#include "common/report.hpp"

namespace kormal {
namespace {

const rec::Format kHeaderLine("(a24)");
const rec::Format kTable81Edges("(5x,a8,2(1x,f9.3))");
const rec::Format kTable76Row("(a8,1x,f7.2,1x,f6.2)");

// The deck has 46 lines, and so has the echo that heads the line tables.
constexpr int kMaxHeaderLines = 46;
constexpr int kLabelLength = 8;
// The largest edge an f9.3 field holds; it also keeps the edges' thousandths
// well inside a 64-bit integer.
constexpr double kLargestEdge = 99999.999;

std::string_view without_trailing_blanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

// A record's text as a report quotes it: trailing blanks dropped, control
// characters shown as '?', so that the report stays one line.
std::string quoted(std::string_view text) {
  std::string s(without_trailing_blanks(text));
  for (char& c : s) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return "\"" + s + "\"";
}

[[noreturn]] void neither(const std::string& path, const std::string& what) {
  rec::record_error(" Window table " + path + " is neither a table76 nor a table81: " + what);
}

// The first word of a record (up to a blank or a comma, as a free-form read
// takes it), and whether it is an integer.
bool leading_integer(std::string_view record, std::string& word, int& value) {
  const std::size_t start = record.find_first_not_of(' ');
  if (start == std::string_view::npos) return false;
  const std::size_t end = record.find_first_of(" ,", start);
  word = std::string(record.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
  return rec::read_integer_word(word, value);
}

// The decimal text of `ten_thousandths` / 10000, for a reading rounded once.
std::string decimal_text(long long ten_thousandths) {
  char text[40];
  const long long magnitude = std::llabs(ten_thousandths);
  std::snprintf(text, sizeof text, "%s%lld.%04lld", ten_thousandths < 0 ? "-" : "", magnitude / 10000,
                magnitude % 10000);
  return text;
}

}  // namespace

std::string_view table_key(TableKind kind) { return kind == TableKind::table81 ? "table81" : "table76"; }

WindowTableHead read_window_table_head(rec::TextReader& in) {
  const std::string& path = in.path();
  WindowTableHead head;
  head.header.assign(kHeaderLength, ' ');
  std::string line;
  if (in.next_record(line) != rec::ReadStatus::ok) {
    rec::record_error(" Window table " + path + " is empty: its header line is missing");
  }
  std::string word;
  int nhead = 0;
  if (!leading_integer(line, word, nhead)) {
    rec::read_internal(line, kHeaderLine, {&head.header});
    return head;
  }

  if (nhead < 1 || nhead > kMaxHeaderLines) {
    neither(path, "record 1 begins with the number " + word +
                      ", where a table81 has its header count, 1 to 46, and a table76 a title that is no number");
  }
  const int heading = nhead + 3;
  while (in.record_number() < heading) {
    if (in.next_record(line) != rec::ReadStatus::ok) {
      neither(path, "the file ends after record " + std::to_string(in.record_number()) +
                        ", before the table81 heading that a header count of " + std::to_string(nhead) +
                        " puts in record " + std::to_string(heading));
    }
    const int r = in.record_number();
    if (r > nhead && r < heading && !without_trailing_blanks(line).empty()) {
      neither(path, "record " + std::to_string(r) + " is not blank as in a table81's header: found " + quoted(line));
    }
  }
  if (without_trailing_blanks(line) != kTable81Heading) {
    neither(path, "record " + std::to_string(heading) + " is not the table81 heading \"" +
                      std::string(kTable81Heading) + "\": found " + quoted(line));
  }
  head.kind = TableKind::table81;
  rec::read_internal(line, kHeaderLine, {&head.header});
  head.first_row = heading + 1;
  return head;
}

WindowRecord decode_table81_window(std::string_view row, rec::Where where) {
  const std::size_t length = without_trailing_blanks(row).size();
  if (length != static_cast<std::size_t>(kTable81RowLength)) {
    rec::record_error(" Row of " + std::to_string(length) + " characters in " + rec::describe(where) +
                      ", where a table81 row has " + std::to_string(kTable81RowLength) + ": found " + quoted(row));
  }
  std::string label(kLabelLength, ' ');
  double lower = 0.0;
  double upper = 0.0;
  rec::read_internal(row, kTable81Edges, {&label, &lower, &upper}, where);
  if (!(std::fabs(lower) <= kLargestEdge && std::fabs(upper) <= kLargestEdge)) {
    rec::record_error(" Window edge beyond 99999.999 cm-1 in " + rec::describe(where) + ": found " + quoted(row));
  }
  if (upper < lower) {
    rec::record_error(" Window edges reversed in " + rec::describe(where) + ": found " + quoted(row));
  }

  // In thousandths the centre and width are exact decimals; read as such they
  // round once, as the same decimals of a table76 row do, so that both tables
  // put a window on the same grid.
  const long long lo = std::llround(lower * 1000.0);
  const long long hi = std::llround(upper * 1000.0);
  const double width = static_cast<double>(hi - lo) / 1000.0;
  float centre = 0.0f;
  rec::read_real_word(decimal_text(5 * (lo + hi)), centre);

  std::string text(kRowLength, ' ');
  rec::write_internal(text, kTable76Row, {std::string_view(label), centre, width});
  return make_window(std::move(text), centre, width);
}

}  // namespace kormal
