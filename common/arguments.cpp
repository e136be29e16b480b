#include "common/arguments.hpp"

#include <ostream>
#include <string>

namespace rec {
namespace {

void usage(std::ostream& s, std::string_view name) {
  s << "usage: " << name << " [--help | --version | --check-deck]   (run it in the directory that holds its deck)\n";
}

}  // namespace

std::optional<int> handle_arguments(int argc, const char* const* argv, const ProgramInfo& info, std::ostream& out,
                                    std::ostream& err) {
  if (argc <= 1) return std::nullopt;
  const std::string_view arg = argv[1];
  if (argc == 2 && (arg == "--help" || arg == "-h")) {
    usage(out, info.name);
    out << info.help;
    return 0;
  }
  if (argc == 2 && arg == "--version") {
    out << info.name << ' ' << info.version << '\n';
    return 0;
  }
  err << info.name << ": unknown argument \"" << arg << "\"\n";
  usage(err, info.name);
  return 1;
}

}  // namespace rec
