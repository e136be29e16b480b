#include "tesk/linefind/table_header.hpp"

namespace tesk {
namespace {

const rec::Format kHeaderLine("(a200)");
const rec::Format kBlankLine("(' ')");

// The deck has 46 lines, and so has its echo: no more can head a table.
constexpr int kMaxHeaderLines = 46;

[[noreturn]] void header_ended(const rec::TextReader& in) {
  rec::record_error(" End of file in the header of " + in.path() + " after record " +
                    std::to_string(in.record_number()));
}

}  // namespace

void read_header_line(rec::TextReader& in, std::string& line) {
  line.assign(kHeaderWidth, ' ');
  if (in.read(kHeaderLine, {&line}) == rec::ReadStatus::end) header_ended(in);
}

int read_header_count(rec::TextReader& in, std::string& line) {
  read_header_line(in, line);
  return header_count(in, line);
}

int header_count(const rec::TextReader& in, const std::string& line) {
  int nhead = 0;
  const rec::ReadStatus status =
      rec::read_free_internal(line, {&nhead}, rec::Where{in.path(), in.record_number()});
  if (status == rec::ReadStatus::end || nhead < 1 || nhead > kMaxHeaderLines) rec::stop(kHeaderCountWrong);
  return nhead;
}

void write_header_line(rec::TextWriter& out, std::string_view line) {
  out.write(kHeaderLine, {line});
}

void copy_header_lines(rec::TextReader& in, rec::TextWriter& out, int count) {
  std::string line;
  for (int i = 1; i <= count; ++i) {
    read_header_line(in, line);
    write_header_line(out, line);
  }
}

void write_blank_lines(rec::TextWriter& out) {
  out.write(kBlankLine);
  out.write(kBlankLine);
}

}  // namespace tesk
