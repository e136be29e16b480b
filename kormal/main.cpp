// The interfering-gas program: for every microwindow of a line-finding run,
// rates how strongly each other gas interferes with the window's target gas.
// This version prints its banner only.
#include <iostream>

#include "common/banner.hpp"
#include "common/program.hpp"

namespace {

constexpr std::string_view kCredits[] = {
    "     Interference of every gas with the target gas of each microwindow",
    "     Reads the microwindows (table76) of a line-finding run",
    "     Slant-path transmission of each gas of a standard atmosphere",
    "     Line list in the HITRAN record layout",
    "     Results in output.dat, microwin and spectra.out",
    "     Planning tool for trace-gas retrievals from ground-based infrared spectra",
};

}  // namespace

int main() {
  std::ios::sync_with_stdio(false);
  return rec::run_program(std::cout, [](rec::Console& console) {
    rec::write_banner(console, {"('  KORMAL: Interfering gases based on differences')", kCredits,
                                "('          Version 6, Sep. 2006 ')"});
  });
}
