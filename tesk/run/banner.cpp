#include "tesk/run/banner.hpp"

#include "common/banner.hpp"

namespace tesk {
namespace {

// What the program is for, in five lines.
constexpr std::string_view kCredits[] = {
    "     Line-by-line spectra of a slant or limb path through a standard atmosphere",
    "     Finds, rates and ranks the lines of a target gas and selects microwindows",
    "     Weighting functions, averaging kernels and interferograms",
    "     Planning tool for trace-gas retrievals from ground-based infrared spectra",
    "     Line list in the HITRAN record layout",
};

}  // namespace

void write_banner(rec::Console& console) {
  rec::write_banner(console, {"('    VORNE: Automatic Line Finding Program')", kCredits,
                              "('          Version 6, September 2006 ')"});
}

}  // namespace tesk
