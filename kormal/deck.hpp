// The input deck `input-kormal`: twelve groups of answers read once at start,
// an optional sixteenth line with the solar zenith angle, then the names of
// the files the run reads and writes.
#pragma once

#include <string>
#include <string_view>

namespace kormal {

inline constexpr std::string_view kDeckFile = "input-kormal";

// The solar zenith angle of a deck of 15 lines, degrees: a low sun, whose
// long path makes weak interferers stand out.
inline constexpr double kDefaultZenithAngle = 75.0;
// The deck line of the optional solar zenith angle.
inline constexpr int kZenithAngleLine = 16;

// The deck's answers. A name answer is kept up to its first blank, so text
// after a blank is a comment; a prefix ends with its own directory separator
// or is empty (the working directory).
struct KormalDeck {
  std::string linefile;    // line list, taken literally
  std::string windowfile;  // the table76 to analyse
  std::string inpath;      // prefix of the atmosphere file and solar.dat
  std::string outpath;     // prefix of output.dat and microwin
  char dbtype = ' ';       // h: HITRAN molecule numbers, renumbered; else used as they stand
  int reclen = 0;          // record length of the line list, line end included
  int nrec = 0;            // records of the line list; 0: counted once at start
  char atmosphere = ' ';   // p polar, m mid-latitude, t tropical
  float observer_alt = 0.0f;  // km; levels below it are emptied
  char solar = ' ';        // y: add the solar pseudo-gas
  int listed_limit = 0;    // bound on the interfering gases listed per window
  double contribution_threshold = 0.0;  // %, target contribution for a window to be reported
  double gas_threshold = 0.0;           // %, measure for a gas to be listed
  char sortkey = ' ';      // d: rank by rel.-trans, a: by abs.-trans
  char pause = ' ';        // s: wait for the enter key after each window
  char plot = ' ';         // y: plot each window's spectrum
  double zenith_angle = kDefaultZenithAngle;  // degrees, of the sun seen from the observer
};

// Reads the deck (status OLD) and checks it once it is closed: the solar
// answer ("wrong input for solar"), the sort answer ("wrong input for
// korma"), then a record length that is not above 0 and a negative record
// count, which no line list can have, then the solar zenith angle. A deck
// without a sixteenth line, or with a blank one, keeps kDefaultZenithAngle;
// an angle that is not a number, below 0 or from 90 up (a path that never
// leaves the air) is a wrong answer naming the line. Throws rec::Stop for a
// wrong answer, rec::RecordError for a missing or short deck or an
// unreadable value.
KormalDeck read_deck(const std::string& path = std::string(kDeckFile));

// The files of a run, composed from the deck's prefixes.
struct FileNames {
  std::string atmosphere;  // inpath + arctic.vmr, midlat.vmr or tropic.vmr; empty for another letter
  std::string output;      // outpath + output.dat
  std::string microwin;    // outpath + microwin
  std::string spectra;     // spectra.out in the working directory
  std::string log;         // outpath + kormal.log
};

FileNames compose_names(const KormalDeck& deck);

}  // namespace kormal
