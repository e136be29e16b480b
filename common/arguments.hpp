// The command line of both programs. A run takes no arguments: every answer
// comes from the deck in the working directory. Only --help and --version
// are understood here, so that a user can ask what a program is without
// running it; each program's main takes --check-deck (its deck checked, no
// run) before it asks this.
#pragma once

#include <iosfwd>
#include <optional>
#include <string_view>

namespace rec {

// What a program says about itself.
struct ProgramInfo {
  std::string_view name;     // the command, e.g. "tesk"
  std::string_view version;  // e.g. "0.1"
  std::string_view help;     // the text after the usage line, each line ending in '\n'
};

// Looks at argv[1..argc). No argument: nothing (the run goes on). "--help"
// or "-h": the usage line and the help text on `out`, status 0. "--version":
// "<name> <version>" on `out`, status 0. Anything else: the usage line on
// `err`, status 1.
std::optional<int> handle_arguments(int argc, const char* const* argv, const ProgramInfo& info, std::ostream& out,
                                    std::ostream& err);

}  // namespace rec
