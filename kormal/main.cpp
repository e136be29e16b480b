// The interfering-gas program: runs in the working directory on its deck
// `input-kormal`; exit status 0 normal end, 1 stop with a message, 2 error of
// the file and record layer, 3 anything unexpected.
#include <iostream>
#include <string_view>

#include "common/arguments.hpp"
#include "common/program.hpp"
#include "kormal/deck_check.hpp"
#include "kormal/run.hpp"

namespace {

constexpr rec::ProgramInfo kInfo{
    "kormal", LF_VERSION,
    "\n"
    "Rates, window by window, how strongly every gas of a standard atmosphere\n"
    "interferes with the target gas of the microwindows that a line-finding run\n"
    "of tesk wrote to table76, or of the windows it recommends in table81.\n"
    "\n"
    "Reads the deck input-kormal in the working directory and writes output.dat\n"
    "and microwin behind the deck's output prefix, and spectra.out in the working\n"
    "directory.\n"
    "\n"
    "With --check-deck, only reads input-kormal and checks its answers as a run\n"
    "would, printing the run's message for the first wrong one; writes no file\n"
    "and exits 0 for a good deck.\n"
    "\n"
    "Exit status: 0 normal end, 1 stop with a message (a wrong deck answer or a\n"
    "limit), 2 a file that is missing or unreadable, 3 anything unexpected.\n"};

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc == 2 && std::string_view(argv[1]) == "--check-deck") {
    return rec::run_program(std::cout, kormal::check_deck_run, kormal::kDeckAccepted);
  }
  if (auto status = rec::handle_arguments(argc, argv, kInfo, std::cout, std::cerr)) return *status;
  return rec::run_program_writing(std::cout, "kormal",
                                  [](rec::Console& console) { kormal::run(console, std::cin); });
}
