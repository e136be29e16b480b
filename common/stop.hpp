// The two ways a run ends early. A stop with a message (a wrong deck answer, an
// exceeded limit) throws Stop; the file and record layer (missing file,
// unreadable field, end of record) throws RecordError with a report that names
// the file, the record and, for a field, its columns. run_program
// (program.hpp), the frame of each program's main, catches both once, prints
// the text on a console line of its own and returns 1 (Stop) or 2
// (RecordError) as the exit status.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace rec {

class Stop : public std::runtime_error {
 public:
  explicit Stop(std::string_view message) : std::runtime_error(std::string(message)) {}
};

class RecordError : public std::runtime_error {
 public:
  explicit RecordError(std::string_view report) : std::runtime_error(std::string(report)) {}
};

// Ends the run with `message`, printed verbatim (a leading blank is part of it).
[[noreturn]] inline void stop(std::string_view message) { throw Stop(message); }

// Ends the run with a report of the file and record layer.
[[noreturn]] inline void record_error(std::string_view report) { throw RecordError(report); }

}  // namespace rec
