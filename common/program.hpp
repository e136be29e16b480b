// The frame of both programs' main: the body runs on the console, and the way
// it ended becomes the last console line and the exit status.
#pragma once

#include <functional>
#include <iosfwd>
#include <string_view>

#include "common/records.hpp"

namespace rec {

inline constexpr std::string_view kNormalEnd = "Stop - Program terminated.";

// Runs `body`; a normal end prints `normal_end` and returns 0, a Stop prints its message (and its
// detail line, when it has one) and returns 1, a RecordError prints its
// report and returns 2, any other exception prints a one-line report of it
// and returns 3. The pending console line is ended and `out` flushed in every
// case.
int run_program(std::ostream& out, const std::function<void(Console&)>& body,
                std::string_view normal_end = kNormalEnd);

// The same for a run that writes files (run_files.hpp): `program` ("tesk",
// "kormal") first locks the working directory, then runs `body` with a
// RunFiles installed. Only a body that ends normally has its staged files
// renamed over their final names (a failure of that is a RecordError, status
// 2) before the normal-end line; any other end removes them, leaving every
// earlier file as it was. The locks are released on return.
int run_program_writing(std::ostream& out, std::string_view program, const std::function<void(Console&)>& body);

}  // namespace rec
