#include "tesk/run/banner.hpp"

namespace tesk {

void write_banner(rec::Console& console) {
  static const rec::Format kTitle("('    VORNE: Automatic Line Finding Program')");
  static const rec::Format kCredit("(a)");
  static const rec::Format kVersion("('          Version 6, September 2006 ')");
  static const rec::Format kGuaranty("('     No guaranty for the results')");
  static const rec::Format kComments("(' Comments on errors and improvements are welcome')");
  // What the program is for, in five lines; the "(a)" format eats column 1.
  static constexpr std::string_view kCredits[] = {
      "     Line-by-line spectra of a slant or limb path through a standard atmosphere",
      "     Finds, rates and ranks the lines of a target gas and selects microwindows",
      "     Weighting functions, averaging kernels and interferograms",
      "     Planning tool for trace-gas retrievals from ground-based infrared spectra",
      "     Line list in the HITRAN record layout",
  };
  console.write_free();
  console.write(kTitle);
  console.write_free();
  for (std::string_view line : kCredits) console.write(kCredit, {line});
  console.write_free();
  console.write(kVersion);
  console.write_free();
  console.write(kGuaranty);
  console.write(kComments);
  console.write_free();
  // The size of the shared arrays, announced as the fixed figure users know.
  console.write_free({std::string_view(" Program requires approx. "), 141, std::string_view(" Mbytes")});
  console.write_free();
}

}  // namespace tesk
