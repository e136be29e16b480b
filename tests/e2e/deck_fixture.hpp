// A valid 46-line deck for the line-finding program that tests change line by
// line, and a small hand-made line list.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace e2e {

// The deck of the bundled example (a CO study at 2140-2180 cm-1), line by line.
inline std::vector<std::string> example_deck() {
  std::ifstream in(std::string(LF_SOURCE_DIR) + "/examples/co_window/input-vorne");
  std::vector<std::string> deck;
  for (std::string line; std::getline(in, line);) deck.push_back(line);
  return deck;
}

inline std::vector<std::string> valid_deck() {
  return {
      "5          number of header lines",
      "lines.hit",
      "           input path (blank: working directory)",
      "           output path",
      "d(display)",
      "hitran 101",
      "3          records of the line list",
      "n          solar spectrum",
      "s          study",
      "0.9        target factor",
      "t          sort key",
      "a          transmission",
      "r          radiance units",
      "n          normalisation",
      "m          model atmosphere",
      "300.       background temperature",
      "2000.      vlo",
      "2001.      vhi",
      "co         target gas",
      "0          isotope",
      "1.0        target scale",
      "0",
      "0",
      "0.         altlo",
      "10.        althi",
      "g 30.      geometry and zenith angle",
      "0          layers removed",
      "0.005      grid",
      "1.         margin",
      "0.         resolution",
      "0.         field of view",
      "0.1        interference width",
      "0.001      noise",
      "0.1        a-priori",
      "0",
      "0",
      "0.1        temperature sensitivity limit",
      "250.       reference temperature",
      "0.3        starting window",
      "0.1        interval around centre",
      "1.0        max width",
      "10         max windows",
      "n          plot",
      "plot.dat",
      "1 2",
      "end of deck",
  };
}

inline std::string deck_text(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

// A record of the 100-character layout followed by LF.
inline std::string line_record(int mol, int iso, double pos, double intensity = 1.0e-20) {
  char buf[128];
  // Widths and exponents below 1 are written without the zero before the point.
  std::snprintf(buf, sizeof buf, "%2d%1d%12.6f%10.3E%10s%s%s%10.4f%s%s%3d%3d", mol, iso, pos, intensity, "",
                ".0700", ".0800", 100.0, " .75", "-.002000", 0, 0);
  std::string r(buf);
  r.resize(100, ' ');
  return r + "\n";
}

}  // namespace e2e
