#include "tesk/run/deck.hpp"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string_view>

#include "common/byte_order_mark.hpp"
#include "common/nint.hpp"
#include "common/path_prefix.hpp"
#include "inputs/molecules.hpp"
#include "tesk/constants.hpp"
#include "tesk/limits.hpp"
#include "tesk/run/gas_names.hpp"
#include "tesk/run/grid_limit.hpp"

namespace tesk {
namespace {

constexpr std::string_view kDeckFile = "input-vorne";

// The system's messages, byte for byte.
constexpr std::string_view kLinefileTooLong = "Path and name for spectral database to long";
constexpr std::string_view kInpathTooLong = "Path and name for input data to long";
constexpr std::string_view kOutpathTooLong = "Path and name for output tables to long";
constexpr std::string_view kBadRunmode = " Run must be c(complete), s(sort), or d(display)";
constexpr std::string_view kBadDbtype = " Spectral database must be h or a";
constexpr std::string_view kBadSolar = " Solar spectrum choice must be y or n";
constexpr std::string_view kBadStudy = "wrong study (s, d, w or a)";
constexpr std::string_view kBadSortkey = " Sorting choice must be t,e,d,i or r";
constexpr std::string_view kBadTransrad = " Wrong symbol in transmission/radiation (a or r)";
constexpr std::string_view kBadRadunits = " Wrong symbol for units of radiance (r or b)";
constexpr std::string_view kBadNorm = "Wrong input spectrum normalisation (n or f)";
constexpr std::string_view kBadModel = " model/vmr choice must be t,m, or p";
constexpr std::string_view kBadGeom = "wrong airpath geometry (g, s)";
constexpr std::string_view kBadWincentre = " starting microwindow smaller than interval around center";
constexpr std::string_view kPlotfileTooLong = "Path and name for output plot file to long";
constexpr std::string_view kUnitTargetFactor = " Target factor must differ from 1 for line finding";
constexpr std::string_view kBadGasName = "Wrong naming (eg. ch2o -> h2co or h20 -> h2o)";

// table72 to table75 print line positions with f9.4: from this position on
// they would print as asterisks, which no reader of those tables can take.
constexpr float kFirstUnprintablePosition = 10000.0f;

// Zenith angles from here on point the ground-based observer below the
// horizon: no path leaves the atmosphere.
constexpr float kHorizonAngle = 90.0f;

// Whether the first free-form item of `text` is a number that a single
// precision value cannot hold: nan, inf, or beyond the largest float.
bool not_finite(std::string_view text) {
  std::size_t b = text.find_first_not_of(" ,");
  if (b == std::string_view::npos) return false;
  std::size_t e = text.find_first_of(" ,", b);
  std::string word(text.substr(b, e == std::string_view::npos ? std::string_view::npos : e - b));
  for (char& c : word) {
    if (c == 'd' || c == 'D') c = 'e';  // exponents may be written with D
  }
  char* end = nullptr;
  double v = std::strtod(word.c_str(), &end);
  if (end == word.c_str() || *end != '\0') return false;  // not a number: the reader reports it
  return !std::isfinite(v) || std::fabs(v) > static_cast<double>(std::numeric_limits<float>::max());
}

bool one_of(char c, std::string_view allowed) { return allowed.find(c) != std::string_view::npos; }

// The option of a deck letter; a letter that names none stops the run with `refusal`.
template <class Option, std::size_t N>
Option parse(char c, const Option (&values)[N], std::string_view refusal) {
  const std::optional<Option> o = option_from_letter(c, values);
  if (!o) rec::stop(refusal);
  return *o;
}

std::string trimmed(std::string_view s) {
  std::size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  std::size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

// The wing threshold of a run on `grid` (cm-1) for `study`.
float wing_threshold_for(float grid, Study study) {
  return (grid < kFineGrid || writes_weighting_functions(study)) ? kFineWingThreshold : kWingThreshold;
}

// Reads the deck line by line: each line becomes a 200-character field and is
// copied to the echo file before anything is checked.
class DeckReader {
 public:
  DeckReader(const std::string& deck_path, const std::string& echo_path)
      : in_(deck_path) {
    if (!echo_path.empty()) echo_.emplace(echo_path);
  }

  // The next line as a field of exactly kDeckWidth characters.
  const std::string& next() {
    std::string raw;
    if (in_.next_record(raw) != rec::ReadStatus::ok) {
      rec::record_error(" The deck " + std::string(kDeckFile) + " ends after " + std::to_string(line_) +
                        " lines; " + std::to_string(kDeckLines) + " are needed");
    }
    ++line_;
    // The echo's first line is read back by the line tables: no mark there.
    if (line_ == 1) rec::drop_byte_order_mark(raw);
    raw.resize(kDeckWidth, ' ');
    field_ = raw;
    if (echo_) echo_->record(field_);
    return field_;
  }

  int line() const { return line_; }
  const std::string& field() const { return field_; }

  // Free-form items from the front of the current line.
  void free(std::initializer_list<rec::InItem> items) { free_from(field_, items); }
  // `first_column` is where `text` starts in the line, for the reports.
  void free_from(std::string_view text, std::initializer_list<rec::InItem> items, int first_column = 1) {
    if (rec::read_free_internal(text, items, rec::Where{kDeckFile, line_, first_column}) != rec::ReadStatus::ok) {
      rec::record_error(" Missing answer in line " + std::to_string(line_) + " of " +
                        std::string(kDeckFile) + ": found \"" + trimmed(text) + "\"");
    }
  }

  // A real answer; values that are not finite cannot be computed with.
  float real() { return real_from(field_); }
  float real_from(std::string_view text, int first_column = 1) {
    if (not_finite(text)) wrong("the answer must be a finite number");
    float v = 0.0f;
    free_from(text, {&v}, first_column);
    if (!std::isfinite(v)) wrong("the answer must be a finite number");
    return v;
  }
  int integer() {
    int v = 0;
    free({&v});
    return v;
  }
  char word() {
    std::string c(1, ' ');
    free({&c});
    return c[0];
  }

  // An answer the run cannot compute with: names the line and what it holds.
  [[noreturn]] void wrong(std::string_view why) const {
    rec::stop(" Wrong answer in line " + std::to_string(line_) + " of " + std::string(kDeckFile) + ": " +
              std::string(why) + ", found \"" + trimmed(field_) + "\"");
  }

  void close() {
    in_.close();
    if (echo_) echo_->close();
  }

 private:
  rec::TextReader in_;
  std::optional<rec::TextWriter> echo_;  // none when the deck is only checked
  std::string field_;
  int line_ = 0;
};

}  // namespace

Deck read_deck(const std::string& deck_path, const std::string& echo_path) {
  Deck d;
  DeckReader r(deck_path, echo_path);

  r.next();  // line 1: header line count, interpreted by the line tables

  d.linefile = rec::path_prefix(r.next(), kFilePathLength, kLinefileTooLong);
  d.inpath = rec::path_prefix(r.next(), kInputPrefixLength, kInpathTooLong);
  d.outpath = rec::path_prefix(r.next(), kOutputPrefixLength, kOutpathTooLong);

  d.runmode = parse(r.next()[0], {RunMode::complete, RunMode::sort, RunMode::display}, kBadRunmode);

  r.next();
  {
    std::string c(1, ' ');
    r.free({&c, &d.reclen});
    d.dbtype = parse(c[0], {LineDatabase::hitran, LineDatabase::program}, kBadDbtype);
  }
  if (d.reclen <= 0) r.wrong("the record length must be above 0");

  r.next();
  d.nrec = r.integer();
  if (d.nrec < 0) r.wrong("the record count must be 0 or more");

  r.next();
  const char solar = r.word();
  if (!one_of(solar, "yn")) rec::stop(kBadSolar);
  d.solar = solar == 'y';

  const std::optional<Study> study = study_from_letter(r.next()[0]);
  if (!study) rec::stop(kBadStudy);
  d.study = *study;

  r.next();
  d.tfactor = r.real();
  // Line finding divides by the difference that the factor makes.
  if (d.study == Study::line_finding && d.tfactor == 1.0f) rec::stop(kUnitTargetFactor);

  d.sortkey = parse(r.next()[0],
                    {SortKey::sensitivity, SortKey::lower_energy, SortKey::temperature_dependence,
                     SortKey::interference, SortKey::sensitivity_over_interference},
                    kBadSortkey);
  d.transrad = parse(r.next()[0], {Quantity::transmission, Quantity::radiance}, kBadTransrad);
  d.radunits = parse(r.next()[0], {Units::radiance, Units::brightness_temperature}, kBadRadunits);

  r.next();
  d.norm = parse(r.word(), {Normalisation::normalised, Normalisation::unit_factor}, kBadNorm);
  r.next();
  d.model = parse(r.word(), {ModelAtmosphere::tropical, ModelAtmosphere::mid_latitude, ModelAtmosphere::polar},
                  kBadModel);

  r.next();
  d.tback = r.real();
  r.next();
  d.vlo = r.real();
  r.next();
  d.vhi = r.real();
  // A display run writes no line tables, so only the runs that find lines
  // need positions that those tables can print.
  if (d.study == Study::line_finding && d.runmode != RunMode::display && d.vhi >= kFirstUnprintablePosition) {
    r.wrong("line finding needs a range below 10000 cm-1, whose line positions the line tables can print");
  }
  r.next();
  r.free({&d.gasname});
  r.next();
  d.isotope = r.integer();
  r.next();
  d.target_scale = r.real();
  // The factor multiplies the target's mixing ratios: below 0 there is no gas.
  if (d.target_scale < 0.0f) r.wrong("the profile factor must be 0 or more");
  r.next();
  r.integer();  // lines 22 and 23 are read and not used
  r.next();
  r.integer();
  r.next();
  d.altlo = r.real();
  r.next();
  d.althi = r.real();

  {
    const std::string& f = r.next();
    d.geom = parse(f[0], {Geometry::limb, Geometry::ground}, kBadGeom);
    // The value is read from columns 2 to 15 only.
    d.geomval = r.real_from(std::string_view(f).substr(1, 14), 2);
    if (d.geom == Geometry::ground && d.geomval >= kHorizonAngle) {
      r.wrong("the zenith angle of a ground-based path must be below 90 degrees");
    }
  }

  r.next();
  d.ndrop = rec::nint(r.real());
  r.next();
  d.grid = r.real();
  if (d.grid <= 0.0f) r.wrong("the grid spacing must be above 0");
  if (d.grid < finest_grid(d.vlo, d.vhi)) r.wrong(grid_too_fine(d.vlo, d.vhi));
  r.next();
  d.margin = r.real();
  if (d.margin < 0.0f) r.wrong("the margin must be 0 or more");
  r.next();
  d.resol = r.real();
  r.next();
  d.fovrad = r.real();
  d.fovarea = d.fovrad * d.fovrad * kPiFourDecimals;
  r.next();
  d.interfw = r.real();
  r.next();
  d.noise = r.real();
  r.next();
  d.apriori_sigma = r.real();
  r.next();
  r.real();  // lines 35 and 36 are read and not used
  r.next();
  r.real();
  r.next();
  d.tsenslim = r.real();
  r.next();
  d.tsens = r.real();
  r.next();
  d.winstart = r.real();
  // Every window starts this wide and keeps the interval of line 40 inside
  // it: widths below 0 would reverse its edges.
  if (d.winstart <= 0.0f) r.wrong("the starting microwindow width must be above 0");
  r.next();
  d.wincentre = r.real();
  if (d.wincentre < 0.0f) r.wrong("the interval around the line centre must be 0 or more");
  if (d.wincentre > d.winstart) rec::stop(kBadWincentre);
  d.wincentre = d.wincentre / 2.0f;
  r.next();
  d.maxwidth = r.real();
  r.next();
  d.maxwin = r.integer();
  r.next();
  d.plot = r.word() == 'y';

  d.plotfile = rec::path_prefix(r.next(), kFilePathLength, kPlotfileTooLong);

  r.next();
  r.free({&d.plotcol1, &d.plotcol2});
  r.next();  // line 46 is copied, not parsed

  r.close();
  return d;
}

void finish_deck(Deck& d) {
  d.wing_threshold = wing_threshold_for(d.grid, d.study);
  d.gasno = gas_number(d.gasname);
  if (d.gasno == inputs::kWater && d.isotope == inputs::kHdoIsotope) {
    d.gasname = "hdo    ";
    d.gasno = inputs::kHdo;
    d.isotope = 0;
  }
  if (d.gasno == 0) rec::stop(kBadGasName);
}

}  // namespace tesk
