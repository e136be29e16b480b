#include "kormal/report.hpp"

#include "kormal/limits.hpp"

namespace kormal {
namespace {

// Console formats start with the blank that the console consumes; the file
// formats are the same lines without it.
const rec::Format kStarsConsole("(' **********************************************')");
const rec::Format kStarsFile("('**********************************************')");
const rec::Format kLimits("(' Starting Fmin: ',f8.3,' and Fmax: ',f8.3)");
const rec::Format kLegendConsole("(' TR: transmission, TG: target gas')");
const rec::Format kLegendFile("('TR: transmission, TG: target gas')");
const rec::Format kTotalConsole("(' total TR at position of TG in window:',f8.3)");
const rec::Format kTotalFile("('total TR at position of TG in window:',f8.3)");
const rec::Format kContributionConsole("(' contribution of TG at position of TG in %:',f8.3)");
const rec::Format kContributionFile("('contribution of TG at position of TG in %:',f8.3)");
const rec::Format kText("(a)");
const rec::Format kTwoTexts("(a,a)");
constexpr std::string_view kRelConsole = " rel-trans: TR(max)-TR(min) for gas in window in %";
constexpr std::string_view kRelFile = "rel-trans: TR(max)-TR(min) for gas in window in %";
const rec::Format kAbsConsole("(' abs-trans: TR(min) for gas in whole window in %')");
const rec::Format kAbsFile("('abs-trans: TR(min) for gas in whole window in %')");
constexpr std::string_view kNuConsole = " nu and dnu: ";
constexpr std::string_view kNuFile = "nu and dnu: ";
constexpr std::string_view kNuMeaning = "for target gas: position in cm-1, for others: delta cm-1";
const rec::Format kHeadConsole("(' Name     No  rel.-trans   abs.-trans   nu and dnu')");
const rec::Format kHeadFile("('Name     No  rel.-trans   abs.-trans   nu and dnu')");
const rec::Format kRowConsole("(1x,a7,1x,i3,1x,3(f9.3,4x))");
const rec::Format kRowFile("(a7,1x,i3,1x,3(f9.3,4x))");
const rec::Format kHeaderConsole("(1x,a24)");
const rec::Format kLineConsole("(1x,a)");

constexpr int kWindowLineLength = 100;  // characters of every microwin line after the first
constexpr int kNamedInWindowLine = 6;   // listed gases named in the window line

// First column (0-based) of the c-th name in the window line.
std::size_t name_column(char sortkey, int c) { return static_cast<std::size_t>(7 * c + (sortkey == 'd' ? 19 : 47)); }

// Rank of a gas in the sorted measure.
int rank_of(const WindowMeasures& m, int gas) {
  for (int k = 1; k <= m.nspeci; ++k) {
    if (m.order(k) == gas) return k;
  }
  return 0;
}

// One row's two measures: the sorted one taken at rank k, the other by gas number.
struct Measures {
  double rel;
  double abs;
};
Measures measures_at(char sortkey, const WindowMeasures& m, int k) {
  const int gas = m.order(k);
  return sortkey == 'd' ? Measures{m.rel(k), m.abs(gas)} : Measures{m.rel(gas), m.abs(k)};
}

// Visits the listed gases in rank order: rank k, and the count before it.
template <class Visit>
void for_each_listed(char sortkey, const WindowMeasures& m, int target, const KormalDeck& deck, Visit visit) {
  int counter = 1;
  for (int k = 1; k <= m.nspeci && counter != deck.listed_limit; ++k) {
    const int gas = m.order(k);
    if (gas == target) continue;
    const double ranked = sortkey == 'd' ? m.rel(k) : m.abs(k);
    if (ranked >= deck.gas_threshold) {
      visit(k, counter);
      ++counter;
    }
  }
}

// The window line: the row's kRowLength characters, then blanks, with the
// first kNamedInWindowLine listed names from name_column on.
std::string window_line(const WindowRecord& w, const GasTable& gases, const WindowMeasures& m, int target,
                        const KormalDeck& deck) {
  const char sortkey = deck.sortkey;
  std::string line = w.row;
  line.resize(kWindowLineLength, ' ');
  for_each_listed(sortkey, m, target, deck, [&](int k, int counter) {
    if (counter <= kNamedInWindowLine) line.replace(name_column(sortkey, counter), kNameLength, gases.name(m.order(k)));
  });
  return line;
}

}  // namespace

void write_window_report(rec::Console& console, rec::TextWriter& output, rec::TextWriter& microwin,
                         const std::string& header, const WindowRecord& w, int target, const GasTable& gases,
                         const WindowMeasures& m, const KormalDeck& deck) {
  const char sortkey = deck.sortkey;
  auto both = [&](const rec::Format& on_console, const rec::Format& in_file,
                  std::initializer_list<rec::OutItem> items) {
    console.write(on_console, items);
    output.write(in_file, items);
  };
  auto empty = [&] {
    console.write_free();
    output.write_free();
  };

  empty();
  both(kStarsConsole, kStarsFile, {});
  console.write(kLimits, {w.fmin, w.fmax});
  both(kLegendConsole, kLegendFile, {});
  both(kTotalConsole, kTotalFile, {m.total});
  both(kContributionConsole, kContributionFile, {m.contribution});
  empty();

  console.write(kText, {kRelConsole});
  console.write(kAbsConsole);
  console.write(kTwoTexts, {kNuConsole, kNuMeaning});
  output.write(kText, {kRelFile});
  output.write(kAbsFile);
  output.write(kTwoTexts, {kNuFile, kNuMeaning});
  empty();
  both(kHeadConsole, kHeadFile, {});

  auto row = [&](int gas, Measures v, double position) {
    const std::string_view name = gases.name(gas);
    console.write(kRowConsole, {name, gas, v.rel, v.abs, position});
    output.write(kRowFile, {name, gas, v.rel, v.abs, position});
  };
  const int peak = m.imax(target);
  row(target, measures_at(sortkey, m, rank_of(m, target)), static_cast<double>(peak) * kSpacing + w.lo);
  for_each_listed(sortkey, m, target, deck, [&](int k, int) {
    const int gas = m.order(k);
    row(gas, measures_at(sortkey, m, k), static_cast<double>(m.imax(gas) - peak) * kSpacing);
  });

  const std::string line = window_line(w, gases, m, target, deck);
  if (sortkey == 'd') {
    console.write_free();
    console.write(kHeaderConsole, {std::string_view(header)});
  }
  console.write(kLineConsole, {std::string_view(line)});
  microwin.write(kText, {std::string_view(line)});
}

}  // namespace kormal
