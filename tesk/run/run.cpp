#include "tesk/run/run.hpp"

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "common/plot.hpp"
#include "common/run_files.hpp"
#include "inputs/line_list.hpp"
#include "inputs/solar_file.hpp"
#include "tesk/atmosphere/atmosphere.hpp"
#include "tesk/linefind/line_finding.hpp"
#include "tesk/run/background.hpp"
#include "tesk/run/banner.hpp"
#include "tesk/run/deck.hpp"
#include "tesk/run/file_names.hpp"
#include "tesk/run/memory_estimate.hpp"
#include "tesk/run/path_setup.hpp"
#include "tesk/run/recommended_windows.hpp"
#include "tesk/run/plan_run.hpp"
#include "tesk/run/setup.hpp"
#include "tesk/run/run_state.hpp"
#include "tesk/kernels/weighting_functions.hpp"
#include "tesk/run/spectral_run.hpp"
#include "tesk/run/window_information.hpp"
#include "tesk/tables/interferogram_table.hpp"
#include "tesk/tables/kernel_table.hpp"
#include "tesk/tables/solar_file.hpp"
#include "tesk/tables/table71_reader.hpp"
#include "tesk/tables/weighting_table.hpp"

namespace tesk {
namespace {

const rec::Format kNoInformation(
    "(' Table79, table80 and table81 not written: ',a,' is missing (any there are of an earlier run)')");

// The first file that the information step reads and a sort run has not
// needed so far (the atmosphere, and the solar spectrum of a transmission
// run with the sun), when it does not exist; empty when all do.
std::string missing_information_input(const Deck& d) {
  const AtmosphereFiles atm = atmosphere_files(letter_of(d.model), d.inpath);
  std::vector<std::string> inputs{atm.vmr, atm.pt};
  if (d.transrad == Quantity::transmission && d.solar) inputs.push_back(inputs::solar_file_path(d.inpath));
  for (const std::string& f : inputs) {
    std::error_code error;
    if (!std::filesystem::exists(f, error)) return f;
  }
  return {};
}

// A sort run reads the atmosphere for the information step, after table76;
// a radiance run needs the path's temperatures already to cut its windows.
// Whatever keeps the path from being set up here stops the information step
// again, where it always has, after the tables it leaves: here the run goes
// on without the path.
void set_up_path_for_windows(RunState& state) {
  if (!state.segments.empty() || state.deck.transrad != Quantity::radiance) return;
  try {
    if (!missing_information_input(state.deck).empty()) return;
    set_up_path(state);
    state.segments = path_segments(state.setup, PathModel{state.atm, state.path});
  } catch (const rec::Stop&) {
    state.segments.clear();
  } catch (const rec::RecordError&) {
    state.segments.clear();
  }
}

// Line finding of study d on the table71 of this run or of an earlier one,
// then the information content of the windows it found and the windows it
// recommends.
void line_finding(RunState& state, rec::Console& console) {
  const Deck& d = state.deck;
  const FileNames& n = state.names;
  LineFindSettings s;
  s.gasno = d.gasno;
  s.isotope = d.isotope;
  s.gasname = d.gasname;
  s.line_list = d.linefile;
  s.reclen = d.reclen;
  s.nrec = d.nrec;
  s.dbtype = d.dbtype;
  s.vlo = d.vlo;
  s.vhi = d.vhi;
  s.tfactor = d.tfactor;
  s.interfw = d.interfw;
  s.tsens = d.tsens;
  s.sortkey = d.sortkey;
  s.transrad = d.transrad;
  s.winstart = d.winstart;
  s.wincentre = d.wincentre;
  s.maxwidth = d.maxwidth;
  s.tsenslim = d.tsenslim;
  s.maxwin = d.maxwin;
  const bool sort_run = d.runmode == RunMode::sort;
  if (sort_run) set_up_path_for_windows(state);
  s.hot_background = hot_background(d, state.segments);
  s.reports_line_count = sort_run;
  const SampleReaders read{[&](TargetSamples& t) { read_target_samples(n.table71, d.tfactor, t); },
                           [&](WindowSamples& w) { read_window_samples(n.table71, w); }};
  find_lines(s, LineFindFiles{"output", n.table71, n.table72, n.table73, n.table74, n.table75, n.table76}, read,
             console);
  if (sort_run) {
    // Tables 72 to 76 need only table71 and the line list.
    const std::string missing = missing_information_input(d);
    if (!missing.empty()) {
      console.write(kNoInformation, {std::string_view(missing)});
      return;
    }
  }
  set_up_information_path(state);
  const InformationModel model(state);
  window_information(state, model, console);
  recommend_windows(state, model, console);
}

// What start-up reads and derives before the run's large arrays exist.
struct StartUp {
  Deck deck;
  SpectrumSetup setup;
  SolarSpectrum::Source sun;
  FileNames names;
  PlanSettings plan;
};

StartUp start_up() {
  StartUp s;
  Deck& d = s.deck;
  d = read_deck();
  rec::RunFiles* files = rec::current_run_files();
  // A display run computes nothing: the echo keeps saying what the tables
  // beside it were made with.
  if (files && d.runmode == RunMode::display) files->discard("output");
  finish_deck(d);
  s.setup = spectrum_setup(d);
  s.sun = solar_file_source(d.inpath);
  s.names = compose_names(d.outpath);
  if (files) files->lock_directory_of(s.names.table70);
  rec::note_input_file(d.linefile);
  if (d.nrec == 0) d.nrec = inputs::count_records(d.linefile);
  // Read once the deck has passed, before any table: a wrong entry stops the
  // run as a wrong deck answer does.
  if (reads_plan_settings(d)) {
    s.plan = read_plan_settings(std::string(kPlanFile));
    append_plan_echo("output", s.plan);
  }
  return s;
}

// A sort run works on the tables of an earlier run. It computes no weighting
// functions or kernels, so table77 and table78 get their headers only.
void sort_run(RunState& state, rec::Console& console) {
  const Deck& d = state.deck;
  if (writes_weighting_functions(d.study)) {
    write_averaged_weighting_table(state.names.table77, make_weighting_matrix(), {}, 0, console);
  }
  if (d.study == Study::kernels) write_kernel_table(state.names.table78, Matrix(), {}, console);
  if (d.study == Study::interferogram) interferogram_table(state.names.table71, state.names.table90, console);
  if (d.study == Study::line_finding) line_finding(state, console);
}

void dispatch(RunState& state, rec::Console& console) {
  switch (state.deck.runmode) {
    case RunMode::complete:
      run_spectra(state, console);
      if (state.deck.study == Study::line_finding) line_finding(state, console);
      if (state.deck.study == Study::interferogram) {
        interferogram_table(state.names.table71, state.names.table90, console);
      }
      break;
    case RunMode::sort:
      sort_run(state, console);
      break;
    case RunMode::display:
      break;  // a display run goes straight to the plot
  }
}

}  // namespace

void run(rec::Console& console) {
  write_banner(console);
  StartUp s = start_up();
  // Announced before the large arrays are allocated: a run that cannot have
  // them ends with the one-line report of the program's frame after it.
  write_memory_line(console, s.deck);
  if (reads_plan_settings(s.deck)) write_plan_line(console, s.plan);
  const auto state = std::make_unique<RunState>();
  state->deck = std::move(s.deck);
  state->setup = s.setup;
  state->sun.emplace(std::move(s.sun));
  state->names = std::move(s.names);
  state->plan = s.plan;
  dispatch(*state, console);
  const Deck& d = state->deck;
  if (d.plot) {
    rec::plot_file(console, d.plotfile, d.plotcol1,
                   d.plotcol2, rec::PlotVariant::line_finding);
  }
}

}  // namespace tesk
