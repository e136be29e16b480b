// The input deck `input-vorne`: 46 lines in a fixed order, each answering one
// question. Every line is copied to the echo file `output` and checked at
// once; the first wrong answer stops the run with its message.
#pragma once

#include <string>

#include "common/records.hpp"
#include "tesk/limits.hpp"
#include "tesk/options.hpp"
#include "tesk/study.hpp"

namespace tesk {

inline constexpr int kDeckLines = 46;

// Optical depth below which a line wing is dropped, and the finer one that
// fine grids and the weighting-function studies use.
inline constexpr float kWingThreshold = 1.0e-8f;
inline constexpr float kFineWingThreshold = 1.0e-12f;
inline constexpr float kFineGrid = 0.01f;  // cm-1: a grid below it is fine

// The answers of the deck and the settings derived from them. Reals are
// single precision, as the deck gives them.
struct Deck {
  // Path answers, each up to the first blank of its line (rec::path_prefix);
  // a prefix ends with its own directory separator or is empty.
  std::string linefile;  // path and name of the line list
  std::string inpath;    // prefix of the input data files
  std::string outpath;   // prefix of the result tables
  RunMode runmode = RunMode::display;
  LineDatabase dbtype = LineDatabase::hitran;
  int reclen = 0;        // record length of the line list, line end included
  int nrec = 0;          // records of the line list (counted when the deck gives 0)
  bool solar = false;    // y: multiply by the solar spectrum
  Study study = Study::spectra;  // deck letter s, d, w, a or i
  float tfactor = 0.0f;  // factor on the target's extinction in class 4
  SortKey sortkey = SortKey::sensitivity;
  Quantity transrad = Quantity::transmission;
  Units radunits = Units::radiance;
  Normalisation norm = Normalisation::normalised;
  ModelAtmosphere model = ModelAtmosphere::tropical;
  float tback = 0.0f;    // K, blackbody behind the atmosphere
  float vlo = 0.0f;      // cm-1, start of the range
  float vhi = 0.0f;      // cm-1, end of the range
  std::string gasname = std::string(7, ' ');  // target gas, 7 characters
  int isotope = 0;       // 0 all isotopes
  float target_scale = 0.0f;  // factor on the target's vmr profile
  float altlo = 0.0f;    // km, target layer of study d
  float althi = 0.0f;    // km
  Geometry geom = Geometry::ground;
  float geomval = 0.0f;  // zenith angle (deg) or tangent altitude (km)
  int ndrop = 0;         // lowest layers removed
  float grid = 0.0f;     // cm-1, spacing of the spectral points
  float margin = 0.0f;   // cm-1, line-wing cut-off around every interval
  float resol = 0.0f;    // instrument resolution parameter, 0 no convolution
  float fovrad = 0.0f;   // field-of-view radius
  float interfw = 0.0f;  // cm-1, window of the interference measure
  // The deck's avkpar1 and avkpar2 (lines 33 and 34), named as the kernels use them.
  float noise = 0.0f;          // noise of the normalised spectrum
  float apriori_sigma = 0.0f;  // a-priori uncertainty of the mixing ratio
  float tsenslim = 0.0f; // limit on the relative temperature dependence
  float tsens = 0.0f;    // K, reference temperature of that dependence
  float winstart = 0.0f; // cm-1, starting microwindow width
  float wincentre = 0.0f;  // cm-1, half the deck's interval around the line centre
  float maxwidth = 0.0f; // cm-1, widest merged microwindow
  int maxwin = 0;        // most windows taken into table76
  bool plot = false;     // y: draw `plotfile` at the end of the run (any other letter: no plot)
  std::string plotfile;  // path and name of the file to plot
  int plotcol1 = 0;      // columns passed to the plot
  int plotcol2 = 0;

  int gasno = 0;                 // target gas number 1..52
  float wing_threshold = 0.0f;   // magnitude below which a line wing is dropped
  float fovarea = 0.0f;          // sr, pi fovrad**2 with pi to four decimals
};

// Reads `input-vorne` from the working directory and writes `output` there
// (no echo file for an empty `echo_path`).
// Throws rec::Stop with the exact message of the first wrong answer (after the
// refused line has been copied to `output`), rec::RecordError for a missing or
// short deck or an unreadable answer. The gas name is mapped afterwards, by
// `finish_deck`, so that `output` is complete even when the name is wrong.
Deck read_deck(const std::string& deck_path = "input-vorne", const std::string& echo_path = "output");

// The settings derived after the deck files are closed: `wing_threshold` and
// the target gas number (with the "h2o" isotope 4 special case, which becomes
// gas "hdo" with every isotope). Throws rec::Stop for a gas name not in the
// table.
void finish_deck(Deck& deck);

}  // namespace tesk
