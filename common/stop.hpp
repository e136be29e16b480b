// The two ways a run ends early. A stop with a message (a wrong deck answer, an
// exceeded limit) throws Stop; the file and record layer (missing file,
// unreadable field, end of record) throws RecordError with a report that names
// the file, the record and, for a field, its columns. run_program
// (program.hpp), the frame of each program's main, catches both once, prints
// the text on a console line of its own and returns 1 (Stop) or 2
// (RecordError) as the exit status. A stop for a size limit keeps its
// traditional message and carries a detail: one more console line in plain
// words with the numbers of the run and the deck answer to change.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rec {

class Stop : public std::runtime_error {
 public:
  explicit Stop(std::string_view message, std::string_view detail = {})
      : std::runtime_error(std::string(message)), detail_(detail) {}
  // The line printed after the message; empty when there is none.
  const std::string& detail() const { return detail_; }

 private:
  std::string detail_;
};

class RecordError : public std::runtime_error {
 public:
  explicit RecordError(std::string_view report) : std::runtime_error(std::string(report)) {}
};

// Ends the run with `message`, printed verbatim (a leading blank is part of it).
[[noreturn]] inline void stop(std::string_view message) { throw Stop(message); }

// Ends the run with `message` and then `detail` on a line of its own.
[[noreturn]] inline void stop(std::string_view message, std::string_view detail) { throw Stop(message, detail); }

// A number as a detail line shows it: up to 7 significant digits, no
// trailing zeros (0.0005, 2300, 1e+38).
inline std::string plain_number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", v);
  return text;
}

// Ends the run with a report of the file and record layer.
[[noreturn]] inline void record_error(std::string_view report) { throw RecordError(report); }

}  // namespace rec
