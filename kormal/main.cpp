// The interfering-gas program: runs in the working directory on its deck
// `input-kormal`; exit status 0 normal end, 1 stop with a message, 2 error of
// the file and record layer, 3 anything unexpected.
#include <iostream>

#include "common/arguments.hpp"
#include "common/program.hpp"
#include "kormal/run.hpp"

namespace {

constexpr rec::ProgramInfo kInfo{
    "kormal", LF_VERSION,
    "\n"
    "Rates, window by window, how strongly every gas of a standard atmosphere\n"
    "interferes with the target gas of the microwindows that a line-finding run\n"
    "of tesk wrote to table76.\n"
    "\n"
    "Reads the deck input-kormal in the working directory and writes output.dat\n"
    "and microwin behind the deck's output prefix, and spectra.out in the working\n"
    "directory.\n"
    "\n"
    "Exit status: 0 normal end, 1 stop with a message (a wrong deck answer or a\n"
    "limit), 2 a file that is missing or unreadable, 3 anything unexpected.\n"};

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (auto status = rec::handle_arguments(argc, argv, kInfo, std::cout, std::cerr)) return *status;
  return rec::run_program(std::cout, [](rec::Console& console) { kormal::run(console, std::cin); });
}
