#include "kormal/banner.hpp"

#include "common/banner.hpp"

namespace kormal {
namespace {

constexpr std::string_view kTitle = "('  KORMAL: Interfering gases based on differences')";
constexpr std::string_view kVersion = "('          Version 6, Sep. 2006 ')";
constexpr std::string_view kCredits[] = {
    "     Interference of every gas with the target gas of each microwindow",
    "     Reads the microwindows (table76) of a line-finding run",
    "     Slant-path transmission of each gas of a standard atmosphere",
    "     Line list in the HITRAN record layout",
    "     Results in output.dat, microwin and spectra.out",
    "     Planning tool for trace-gas retrievals from ground-based infrared spectra",
};

}  // namespace

void write_banner(rec::Console& console) { rec::write_banner(console, {kTitle, kCredits, kVersion}); }

}  // namespace kormal
