// What the line finding needs from the run: the deck's answers that choose the
// target, rate and rank its lines and shape the microwindows, and the names of
// the files it reads and writes. Filled once by run control; the steps never
// see the rest of the run state.
#pragma once

#include <string>

#include "tesk/options.hpp"

namespace tesk {

struct LineFindSettings {
  // The target and the line list.
  int gasno = 0;                                 // program gas number 1..52
  int isotope = 0;                               // 0: every isotope of the gas
  std::string gasname = std::string(7, ' ');     // 7 characters, lower case
  std::string line_list;                         // path of the line list
  int reclen = 0;                                // record length, line end included
  int nrec = 0;                                  // records of the line list
  LineDatabase dbtype = LineDatabase::hitran;    // how the list numbers its gases
  float vlo = 0.0f;                              // cm-1, start of the run's range
  float vhi = 0.0f;                              // cm-1, end of the run's range

  // Rating of the target lines.
  float tfactor = 0.0f;   // factor on the target amount in the scaled spectrum; not 1
  float interfw = 0.0f;   // cm-1, full width of the window of the interference measure
  float tsens = 0.0f;     // K, temperature of the relative temperature dependence

  // Ranking and microwindows.
  SortKey sortkey = SortKey::sensitivity;
  Quantity transrad = Quantity::transmission;  // of the spectra of table71 (radiance also in K)
  bool hot_background = false;  // radiance with a background hotter than the path: lines absorb
  float winstart = 0.0f;  // cm-1, W: the starting window width
  float wincentre = 0.0f; // cm-1, D: half the interval around the line kept out of the edge search
  float maxwidth = 0.0f;  // cm-1, widest window a merge may make
  float tsenslim = 0.0f;  // percent per K, largest temperature dependence a window may have
  int maxwin = 0;         // most windows taken from the ranking
  bool reports_line_count = false;  // table72 prints how many target lines it holds (no line pass before it)
};

// The files of the line finding. `echo` is the deck's echo file, whose first
// `nhead` lines head every table written here. The steps do not open
// `table71` themselves: the caller's SampleReaders read it.
struct LineFindFiles {
  std::string echo;
  std::string table71, table72, table73, table74, table75, table76;
};

}  // namespace tesk
