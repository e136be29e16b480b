#include "tesk/run/run.hpp"

#include "common/plot.hpp"
#include "tesk/engine/line_list.hpp"
#include "tesk/run/banner.hpp"
#include "tesk/run/deck.hpp"
#include "tesk/run/file_names.hpp"
#include "tesk/run/run_state.hpp"
#include "tesk/run/spectral_run.hpp"
#include "tesk/engine/interferogram.hpp"
#include "tesk/kernels/kernel_table.hpp"
#include "tesk/kernels/weighting_functions.hpp"

namespace tesk {
namespace {

constexpr std::string_view kSortNotAvailable = " Line finding on an earlier run is not available in this version";

void start_up(RunState& state) {
  Deck& d = state.deck;
  d = read_deck();
  finish_deck(d);
  state.names = compose_names(d.outpath, d.outpath_p, d.inpath, d.inpath_p);
  if (d.nrec == 0) d.nrec = count_records(d.line_list_path());
}

// A sort run works on the tables of an earlier run. It computes no weighting
// functions or kernels, so table77 and table78 get their headers only; line
// finding (study d) is not part of this version.
void sort_run(RunState& state, rec::Console& console) {
  const Deck& d = state.deck;
  if (d.study == 'w' || d.study == 'a') {
    write_averaged_weighting_table(state.names.table77, make_weighting_matrix(), {}, 0, console);
  }
  if (d.study == 'a') write_kernel_table(state.names.table78, Matrix(), {}, console);
  if (d.study == 'i') interferogram_table(state.names.table71, state.names.table90, console);
  if (d.study == 'd') rec::stop(kSortNotAvailable);
}

void dispatch(RunState& state, rec::Console& console) {
  switch (state.deck.runmode) {
    case 'c':
      run_spectra(state, console);
      if (state.deck.study == 'i') interferogram_table(state.names.table71, state.names.table90, console);
      break;
    case 's':
      sort_run(state, console);
      break;
    default:
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
  if (d.plot == 'y') {
    rec::plot_file(console, d.plotfile.substr(0, static_cast<std::size_t>(d.plotfile_len)), d.plotcol1,
                   d.plotcol2, rec::PlotVariant::line_finding);
  }
}

}  // namespace tesk
