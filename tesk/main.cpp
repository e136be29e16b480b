// The line-finding program: runs in the working directory on its deck
// `input-vorne`; exit status 0 normal end, 1 stop with a message, 2 error of
// the file and record layer, 3 anything unexpected.
#include <iostream>
#include <string_view>

#include "common/arguments.hpp"
#include "common/program.hpp"
#include "tesk/run/deck_check.hpp"
#include "tesk/run/run.hpp"

namespace {

constexpr rec::ProgramInfo kInfo{
    "tesk", LF_VERSION,
    "\n"
    "Computes line-by-line spectra of a slant or limb path through a standard\n"
    "atmosphere, finds the target gas's lines, ranks them and selects\n"
    "microwindows; also weighting functions, averaging kernels and interferograms.\n"
    "\n"
    "Reads the deck input-vorne in the working directory (46 lines), echoes it to\n"
    "output, and writes the tables table70 to table78 and table90 behind the\n"
    "deck's output prefix.\n"
    "A line-finding run (study d) also reads the optional settings file\n"
    "input-plan (key = value lines) for its information step, and ends output\n"
    "with the values it used.\n"
    "\n"
    "With --check-deck, only reads input-vorne (and input-plan where a run\n"
    "would) and checks its answers as a run would, printing the run's message\n"
    "for the first wrong one; writes no file and exits 0 for a good deck.\n"
    "\n"
    "Exit status: 0 normal end, 1 stop with a message (a wrong deck answer or a\n"
    "limit), 2 a file that is missing or unreadable, 3 anything unexpected.\n"};

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc == 2 && std::string_view(argv[1]) == "--check-deck") {
    return rec::run_program(std::cout, tesk::check_deck_run, tesk::kDeckAccepted);
  }
  if (auto status = rec::handle_arguments(argc, argv, kInfo, std::cout, std::cerr)) return *status;
  return rec::run_program_writing(std::cout, "tesk", [](rec::Console& console) { tesk::run(console); });
}
