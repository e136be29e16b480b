// The interfering-gas program: for every microwindow of a line-finding run,
// rates how strongly each other gas interferes with the window's target gas.
#include <iostream>

#include "common/records.hpp"

namespace {

void write_banner(rec::Console& console) {
  static const rec::Format kTitle("('  KORMAL: Interfering gases based on differences')");
  static const rec::Format kCredit("(a)");
  static const rec::Format kVersion("('          Version 6, Sep. 2006 ')");
  static const rec::Format kGuaranty("('     No guaranty for the results')");
  static const rec::Format kComments("(' Comments on errors and improvements are welcome')");
  static constexpr std::string_view kCredits[] = {
      "     Interference of every gas with the target gas of each microwindow",
      "     Reads the microwindows (table76) of a line-finding run",
      "     Slant-path transmission of each gas of a standard atmosphere",
      "     Line list in the HITRAN record layout",
      "     Results in output.dat, microwin and spectra.out",
      "     Planning tool for trace-gas retrievals from ground-based infrared spectra",
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
}

}  // namespace

int main() {
  std::ios::sync_with_stdio(false);
  rec::Console console(std::cout);
  int status = 0;
  try {
    write_banner(console);
    console.message("Stop - Program terminated.");
  } catch (const rec::Stop& s) {
    console.message(s.what());
    status = 1;
  } catch (const rec::RecordError& e) {
    console.message(e.what());
    status = 2;
  }
  console.finish();
  std::cout.flush();
  return status;
}
