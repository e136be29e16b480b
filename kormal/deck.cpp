#include "kormal/deck.hpp"

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

constexpr std::string_view kNameLine = "(a200)";  // kPathFieldWidth columns

class DeckReader {
 public:
  explicit DeckReader(const std::string& path) : in_(path) {}

  std::string name(std::string_view what) {
    static const rec::Format line(kNameLine);
    std::string field(kPathFieldWidth, ' ');
    if (in_.read(line, {&field}) != rec::ReadStatus::ok) short_deck(what);
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
  r.close();

  if (d.solar != 'y' && d.solar != 'n') rec::stop(kBadSolar);
  if (d.sortkey != 'd' && d.sortkey != 'a') rec::stop(kBadSortkey);
  if (d.reclen <= 0) rec::stop(kBadReclen);
  if (d.nrec < 0) rec::stop(kBadNrec);
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
  return f;
}

}  // namespace kormal
