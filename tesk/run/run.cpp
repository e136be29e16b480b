#include "tesk/run/run.hpp"

#include "common/plot.hpp"
#include "common/run_files.hpp"
#include "inputs/line_list.hpp"
#include "tesk/linefind/line_finding.hpp"
#include "tesk/run/banner.hpp"
#include "tesk/run/deck.hpp"
#include "tesk/run/file_names.hpp"
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

// Line finding of study d on the table71 of this run or of an earlier one,
// then the information content of the windows it found.
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
  const SampleReaders read{[&](TargetSamples& t) { read_target_samples(n.table71, d.tfactor, t); },
                           [&](WindowSamples& w) { read_window_samples(n.table71, w); }};
  find_lines(s, LineFindFiles{"output", n.table71, n.table72, n.table73, n.table74, n.table75, n.table76}, read,
             console);
  window_information(state, console);
}

void start_up(RunState& state) {
  Deck& d = state.deck;
  d = read_deck();
  rec::RunFiles* files = rec::current_run_files();
  // A display run computes nothing: the echo keeps saying what the tables
  // beside it were made with.
  if (files && d.runmode == RunMode::display) files->discard("output");
  finish_deck(d);
  state.setup = spectrum_setup(d);
  state.sun.emplace(solar_file_source(d.inpath));
  state.names = compose_names(d.outpath);
  if (files) files->lock_directory_of(state.names.table70);
  rec::note_input_file(d.linefile);
  if (d.nrec == 0) d.nrec = inputs::count_records(d.linefile);
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
  RunState state;
  start_up(state);
  dispatch(state, console);
  const Deck& d = state.deck;
  if (d.plot) {
    rec::plot_file(console, d.plotfile, d.plotcol1,
                   d.plotcol2, rec::PlotVariant::line_finding);
  }
}

}  // namespace tesk
