#include "kormal/deck.hpp"

#include <charconv>
#include <cmath>
#include <optional>

#include "common/byte_order_mark.hpp"
#include "common/path_prefix.hpp"
#include "common/records.hpp"
#include "kormal/limits.hpp"

namespace kormal {
namespace {

// The system's messages, byte for byte.
constexpr std::string_view kBadSolar = "wrong input for solar";
constexpr std::string_view kBadSortkey = "wrong input for korma";
constexpr std::string_view kBadReclen = " Record length of the line list in input-kormal must be above 0";
constexpr std::string_view kBadNrec = " Record count of the line list in input-kormal must not be negative";

constexpr std::string_view kBadZenithAngle =
    "the solar zenith angle must be a number of degrees, at least 0 and below 90";

constexpr std::string_view kNameLine = "(a200)";  // kPathFieldWidth columns
constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The angle of the zenith-angle line: its first free-form item (up to a
// blank or a comma; the rest is a comment), a finite number with an
// optional sign and a d or e exponent. None for anything else.
std::optional<double> angle_value(std::string_view line) {
  const std::string_view text = trimmed(line);
  std::string item(text.substr(0, text.find_first_of(" \t,")));
  for (char& c : item) {
    if (c == 'd' || c == 'D') c = 'e';
  }
  const char* first = item.data();
  const char* last = first + item.size();
  if (first != last && *first == '+') ++first;
  double v = 0.0;
  const auto [end, ec] = std::from_chars(first, last, v);
  if (ec != std::errc() || end != last || !std::isfinite(v)) return std::nullopt;
  return v;
}

// The zenith angle of a sixteenth line, or the default for a blank one.
// Stops with a wrong answer for an angle no slant path has.
double read_zenith_angle(std::string_view line) {
  if (trimmed(line).empty()) return kDefaultZenithAngle;
  const std::optional<double> v = angle_value(line);
  if (!v || *v < 0.0 || *v >= 90.0) {
    rec::stop(" Wrong answer in line " + std::to_string(kZenithAngleLine) + " of " + std::string(kDeckFile) + ": " +
              std::string(kBadZenithAngle) + ", found \"" + std::string(trimmed(line)) + "\"");
  }
  return *v;
}

class DeckReader {
 public:
  explicit DeckReader(const std::string& path) : in_(path) {}

  std::string name(std::string_view what) {
    static const rec::Format line(kNameLine);
    std::string field(kPathFieldWidth, ' ');
    if (in_.record_number() == 0) {
      std::string raw;
      if (in_.next_record(raw) != rec::ReadStatus::ok) short_deck(what);
      rec::drop_byte_order_mark(raw);  // no part of the line list's name
      rec::read_internal(raw, line, {&field}, rec::Where{in_.path(), 1});
    } else if (in_.read(line, {&field}) != rec::ReadStatus::ok) {
      short_deck(what);
    }
    return rec::path_prefix(field);
  }
  void free(std::initializer_list<rec::InItem> items, std::string_view what) {
    if (in_.read_free(items) != rec::ReadStatus::ok) short_deck(what);
  }
  char letter(std::string_view what) {
    std::string c(1, ' ');
    free({&c}, what);
    return c[0];
  }
  // The next line when the deck has one; false at its end.
  bool optional_line(std::string& line) { return in_.next_record(line) == rec::ReadStatus::ok; }
  void close() { in_.close(); }

 private:
  [[noreturn]] void short_deck(std::string_view what) const {
    rec::record_error(" The deck " + in_.path() + " ends after " + std::to_string(in_.record_number()) +
                      " lines, before its " + std::string(what));
  }
  rec::TextReader in_;
};

}  // namespace

KormalDeck read_deck(const std::string& path) {
  KormalDeck d;
  DeckReader r(path);
  d.linefile = r.name("line-list name");
  d.windowfile = r.name("window-table name");
  d.inpath = r.name("input prefix");
  d.outpath = r.name("output prefix");
  {
    std::string c(1, ' ');
    r.free({&c, &d.reclen}, "database letter and record length");
    d.dbtype = c[0];
  }
  r.free({&d.nrec}, "record count");
  d.atmosphere = r.letter("atmosphere letter");
  r.free({&d.observer_alt}, "observer altitude");
  d.solar = r.letter("solar letter");
  r.free({&d.listed_limit}, "listed-gas limit");
  r.free({&d.contribution_threshold}, "contribution threshold");
  r.free({&d.gas_threshold}, "gas threshold");
  d.sortkey = r.letter("sort letter");
  d.pause = r.letter("pause letter");
  d.plot = r.letter("plot letter");
  std::string angle_line;
  const bool has_angle = r.optional_line(angle_line);
  r.close();

  if (d.solar != 'y' && d.solar != 'n') rec::stop(kBadSolar);
  if (d.sortkey != 'd' && d.sortkey != 'a') rec::stop(kBadSortkey);
  if (d.reclen <= 0) rec::stop(kBadReclen);
  if (d.nrec < 0) rec::stop(kBadNrec);
  if (has_angle) d.zenith_angle = read_zenith_angle(angle_line);
  return d;
}

FileNames compose_names(const KormalDeck& d) {
  FileNames f;
  switch (d.atmosphere) {
    case 'p':
      f.atmosphere = d.inpath + "arctic.vmr";
      break;
    case 'm':
      f.atmosphere = d.inpath + "midlat.vmr";
      break;
    case 't':
      f.atmosphere = d.inpath + "tropic.vmr";
      break;
    default:
      break;  // no name: the first window cannot read an atmosphere
  }
  f.output = d.outpath + "output.dat";
  f.microwin = d.outpath + "microwin";
  f.spectra = "spectra.out";
  f.log = d.outpath + "kormal.log";
  return f;
}

}  // namespace kormal
