// Hand-made inputs of the line-finding steps in a temporary directory: the
// deck echo, table71 rows, line-list records, and the headers every table
// starts with.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "program_run.hpp"
#include "tesk/linefind/settings.hpp"
#include "tesk/tables/table71_reader.hpp"

namespace linefind_test {

inline std::string pad(const std::string& s, std::size_t width) {
  std::string r = s;
  r.resize(width, ' ');
  return r;
}

// A deck echo of 46 records of 200 characters whose first line gives `nhead`.
inline std::string echo_text(const std::string& first_line) {
  std::vector<std::string> lines{pad(first_line, 200)};
  for (int i = 2; i <= 46; ++i) lines.push_back(pad("deck line " + std::to_string(i), 200));
  return testing_support::crlf_lines(lines);
}

// The header lines of a table that copies `nhead` deck lines, then two
// blank lines, then `column_header` (as written, or padded when copied).
inline std::vector<std::string> table_header(int nhead, const std::string& first_line, bool blanks_padded,
                                             const std::string& column_header) {
  std::vector<std::string> h{pad(first_line, 200)};
  for (int i = 2; i <= nhead; ++i) h.push_back(pad("deck line " + std::to_string(i), 200));
  h.push_back(blanks_padded ? pad(" ", 200) : " ");
  h.push_back(blanks_padded ? pad(" ", 200) : " ");
  h.push_back(column_header);
  return h;
}

// The samples of files.table71, read as run control reads them.
inline tesk::SampleReaders table71_readers(const tesk::LineFindFiles& files, float tfactor) {
  return {[=](tesk::TargetSamples& t) { tesk::read_target_samples(files.table71, tfactor, t); },
          [=](tesk::WindowSamples& w) { tesk::read_window_samples(files.table71, w); }};
}

// A table71 of study d: the three header lines, then one row per sample of
// wavenumber, target, other gases, all gases and difference.
struct Sample {
  double wavenumber, other, all, difference;
};
inline std::string table71_text(const std::vector<Sample>& samples) {
  std::string s = "3 5\r\nRad. in transmission\r\n  cm-1      target      all-target   all-gases  diff-10%\r\n";
  for (const Sample& x : samples) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%10.4f %.5E %.5E %.5E %.5E\r\n", x.wavenumber, 0.5, x.other, x.all,
                  x.difference);
    s += buf;
  }
  return s;
}

// A 100-character record of the line list, LF-terminated (record length 101).
inline std::string line_record(int mol, int iso, double pos, double elow) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%2d%1d%12.6f%10.3E%10s%s%s%10.4f%s%s%3d%3d", mol, iso, pos, 1.0e-20, "",
                ".0700", ".0800", elow, " .75", "-.002000", 0, 0);
  std::string r(buf);
  r.resize(100, ' ');
  return r + "\n";
}

// File names of the steps inside `dir`.
inline tesk::LineFindFiles files_in(const testing_support::WorkDir& dir) {
  auto p = [&](const char* name) { return (dir.path() / name).string(); };
  return {p("output"), p("table71"), p("table72"), p("table73"), p("table74"), p("table75"), p("table76")};
}

}  // namespace linefind_test
