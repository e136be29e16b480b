// kormal.log: what one run did with the window table it read. The run's
// other files say nothing of the windows it skipped, and nothing of which
// table76 they came from; this record, written after every other file of
// the run, says both, so that a reader can tie output.dat and microwin to
// the table76 or table81 beside them and tell a skipped window from a missing
// one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kormal {

// What identifies a window table: its name as the deck gives it, its size
// in bytes and the CRC-32 (the zlib polynomial) of its bytes.
struct WindowTableTie {
  std::string path;
  long long bytes = 0;
  std::uint32_t crc = 0;
};

// Reads the whole file `path` (already open by the run). Throws
// rec::RecordError when it cannot be read.
WindowTableTie tie_window_table(const std::string& path);

// The outcome of one row of the window table: the row as read (23
// characters; for a table81 the table76 row of its window) and "rated" or
// "skipped: " and why.
struct WindowOutcome {
  std::string row;
  std::string outcome;
};

// Writes the record `path`: a line of the table's kind `key` ("table76" or
// "table81") between blanks and the table's name, a line
// " bytes N crc32 XXXXXXXX windows N", then per row
// (' window',i5,1x,a23,1x,a): its number, the row and its outcome. Throws
// rec::RecordError when the file cannot be written.
void write_window_log(const std::string& path, std::string_view key, const WindowTableTie& tie,
                      const std::vector<WindowOutcome>& outcomes);

}  // namespace kormal
