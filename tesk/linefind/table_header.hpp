// The header protocol of the line tables: every table from table72 to table75
// starts with the first `nhead` lines of the deck echo (the first of them
// holds `nhead` itself), two lines holding one blank, and a column header.
// Each step copies the header of its input table as 200-character records.
#pragma once

#include <string>
#include <string_view>

#include "common/records.hpp"

namespace tesk {

inline constexpr std::string_view kHeaderCountWrong = " Number of header lines must lie between 1 and 46";

// Header lines are copied as records this wide, padded with blanks.
inline constexpr int kHeaderWidth = 200;

// Reads the first record of `in` as a 200-character line into `line` and
// returns `nhead`, the integer that begins it. Throws rec::Stop with
// kHeaderCountWrong when `nhead` lies outside 1..46 or the line holds no
// number (a larger count would make the next step read a header line as a
// row), rec::RecordError when the file is empty or the item is not an integer.
int read_header_count(rec::TextReader& in, std::string& line);

// `nhead` from a first record `line` already read from `in`, checked as
// read_header_count checks it (same throws).
int header_count(const rec::TextReader& in, const std::string& line);

// Copies the next `count` records of `in` to `out` as 200-character records.
// Throws rec::RecordError when `in` ends first.
void copy_header_lines(rec::TextReader& in, rec::TextWriter& out, int count);

// Reads the next record of `in` as a 200-character line (blank-padded).
// Throws rec::RecordError when `in` has ended.
void read_header_line(rec::TextReader& in, std::string& line);

// Writes `line` as one 200-character record.
void write_header_line(rec::TextWriter& out, std::string_view line);

// The two lines holding one blank that separate the deck lines from the
// column header.
void write_blank_lines(rec::TextWriter& out);

}  // namespace tesk
