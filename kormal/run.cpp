#include "kormal/run.hpp"

#include <istream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/plot.hpp"
#include "common/run_files.hpp"
#include "inputs/line_list.hpp"
#include "kormal/banner.hpp"
#include "kormal/line_pass.hpp"
#include "kormal/report.hpp"
#include "kormal/run_state.hpp"
#include "kormal/solar.hpp"
#include "kormal/spectra_file.hpp"
#include "kormal/window.hpp"
#include "kormal/window_log.hpp"
#include "kormal/window_table.hpp"

namespace kormal {
namespace {

const rec::Format kHeaderLine("(a24)");
const rec::Format kRowLine("(a23)");
const rec::Format kResults("(' Results in output.dat and microwin')");
const rec::Format kPrompt("(a,$)");
constexpr std::string_view kPromptText = " Type enter to continue: ";
const rec::Format kUnknownGas("(' No gas of this name in the gas table, window skipped: ',a)");
const rec::Format kSolarOutsideRange("(' Window outside 650-4606.4 cm-1, no solar pseudo-gas: ',a)");
const rec::Format kSolarNotCovered("(' Window not covered by solar.dat, no solar pseudo-gas: ',a)");
const rec::Format kBelowThreshold(
    "(' Target contribution',f8.3,' % below the threshold',f8.3,' %, window skipped: ',a)");
const rec::Format kNoProfile("(' No profile of this gas in the atmosphere file, window skipped: ',a)");
// Why a window was skipped, for kormal.log (the console says it in full).
constexpr std::string_view kRated = "rated";
constexpr std::string_view kSkippedUnknownGas = "skipped: no gas of this name in the gas table";
constexpr std::string_view kSkippedNoProfile = "skipped: no profile of this gas in the atmosphere file";
const rec::Format kSkippedBelowThreshold("('skipped: target contribution',f8.3,' % below the threshold',f8.3,' %')");
constexpr std::size_t kSkippedBelowThresholdWidth = 68;  // of that record
constexpr int kSpectraX = 1;  // wavenumber
constexpr int kSpectraY = 4;  // all gases

struct Outputs {
  rec::TextWriter output;
  rec::TextWriter microwin;
  std::string header;  // first kHeaderLength characters of the window table's title or heading
};

void pause(rec::Console& console, std::istream& keyboard) {
  console.write(kPrompt, {kPromptText});
  std::string answer;
  std::getline(keyboard, answer);
}

// One window of the window table, from its gas to the pause; returns what
// became of it, for kormal.log.
std::string process_window(RunState& state, const WindowRecord& w, rec::Console& console, Outputs& out,
                           std::istream& keyboard) {
  const KormalDeck& deck = state.deck;
  state.gases.reset();
  const int target = state.gases.find(w.gasname);
  if (target == 0) {
    console.write(kUnknownGas, {row_text(w)});
    return std::string(kSkippedUnknownGas);
  }

  if (state.names.atmosphere.empty()) {
    rec::record_error(" No atmosphere file: the atmosphere letter of " + std::string(kDeckFile) +
                      " must be p, m or t, found \"" + std::string(1, deck.atmosphere) + "\"");
  }
  Atmosphere& atm = state.atm;
  read_atmosphere(state.names.atmosphere, deck.observer_alt, w.isotope != 0 ? kIsotopePseudoGases : 0, atm);
  if (target > atm.nspeci) {
    console.write(kNoProfile, {row_text(w)});
    return std::string(kSkippedNoProfile);
  }
  if (w.isotope != 0) add_isotope_pseudo_gases(w, target, state.gases, atm);
  compute_columns(atm, state.species);
  {
    inputs::LineList list(deck.linefile, deck.reclen, deck.nrec, deck.dbtype, inputs::Probe::double_precision);
    add_window_lines(list, w, target, atm, state.species);
  }

  WindowMeasures& m = state.measures;
  analyse_species(w, target, atm.nspeci, state.species, m);
  if (deck.solar == 'y') {
    // A window without the solar lines says so: its ranking lacks them.
    if (!solar_applies(w)) {
      console.write(kSolarOutsideRange, {row_text(w)});
    } else if (!add_solar_pseudo_gas(deck.inpath, w, target, state.gases, m)) {
      console.write(kSolarNotCovered, {row_text(w)});
    }
  }
  rank_species(deck.sortkey, m);
  std::string outcome(kRated);
  if (m.contribution >= deck.contribution_threshold) {
    write_window_report(console, out.output, out.microwin, out.header, w, target, state.gases, m, deck);
  } else {
    console.write(kBelowThreshold, {m.contribution, deck.contribution_threshold, row_text(w)});
    outcome.assign(kSkippedBelowThresholdWidth, ' ');
    rec::write_internal(outcome, kSkippedBelowThreshold, {m.contribution, deck.contribution_threshold});
  }

  write_spectra(state.names.spectra, w, m);
  if (deck.plot == 'y') {
    rec::plot_file(console, state.names.spectra, kSpectraX, kSpectraY, rec::PlotVariant::interfering_gas);
  }
  if (deck.pause == 's') pause(console, keyboard);
  return outcome;
}

}  // namespace

void run(rec::Console& console, std::istream& keyboard) {
  write_banner(console);
  // The line spectra alone are some 14 MB: the state lives on the heap.
  auto state = std::make_unique<RunState>();
  KormalDeck& deck = state->deck;
  deck = read_deck();
  state->names = compose_names(deck);
  state->species.zenith_angle = deck.zenith_angle;

  rec::TextReader windows(deck.windowfile);
  // Inputs read later are noted now: an output that is one of them is refused
  // before the first window.
  rec::note_input_file(deck.linefile);
  rec::note_input_file(state->names.atmosphere);
  const WindowTableTie tie = tie_window_table(deck.windowfile);
  std::vector<WindowOutcome> outcomes;
  Outputs out{rec::TextWriter(state->names.output), rec::TextWriter(state->names.microwin),
              std::string(kHeaderLength, ' ')};
  if (deck.nrec == 0) deck.nrec = inputs::count_records(deck.linefile);

  WindowTableHead head = read_window_table_head(windows);
  out.header = std::move(head.header);
  out.microwin.write(kHeaderLine, {std::string_view(out.header)});

  if (head.kind == TableKind::table76) {
    windows.expect_rows(head.first_row, kRowLength);
    std::string row(kRowLength, ' ');
    while (windows.read(kRowLine, {&row}) == rec::ReadStatus::ok) {
      const WindowRecord w = decode_window(row, rec::Where{deck.windowfile, windows.record_number()});
      std::string outcome = process_window(*state, w, console, out, keyboard);
      outcomes.push_back(WindowOutcome{row, std::move(outcome)});
    }
  } else {
    windows.expect_rows(head.first_row, kTable81RowLength);
    std::string row;
    while (windows.next_record(row) == rec::ReadStatus::ok) {
      const WindowRecord w = decode_table81_window(row, rec::Where{deck.windowfile, windows.record_number()});
      std::string outcome = process_window(*state, w, console, out, keyboard);
      outcomes.push_back(WindowOutcome{w.row, std::move(outcome)});
    }
  }
  windows.close();

  console.write(kResults);
  out.microwin.close();
  out.output.close();
  // Last, after every other file of the run: a record present means the
  // run that wrote it ended normally.
  write_window_log(state->names.log, table_key(head.kind), tie, outcomes);
}

}  // namespace kormal
