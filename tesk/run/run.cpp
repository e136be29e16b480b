#include "tesk/run/run.hpp"

#include "common/plot.hpp"
#include "tesk/engine/line_list.hpp"
#include "tesk/run/banner.hpp"
#include "tesk/run/deck.hpp"
#include "tesk/run/file_names.hpp"
#include "tesk/run/run_state.hpp"

namespace tesk {
namespace {

void start_up(RunState& state) {
  Deck& d = state.deck;
  d = read_deck();
  finish_deck(d);
  state.names = compose_names(d.outpath, d.outpath_p, d.inpath, d.inpath_p);
  if (d.nrec == 0) d.nrec = count_records(d.linefile.substr(0, static_cast<std::size_t>(d.linefile_len)));
}

void dispatch(RunState& state) {
  switch (state.deck.runmode) {
    case 'c':
    case 's':
      rec::stop(" Complete and sort runs are not available in this version");
    default:
      break;  // a display run goes straight to the plot
  }
}

}  // namespace

void run(rec::Console& console) {
  write_banner(console);
  RunState state;
  start_up(state);
  dispatch(state);
  const Deck& d = state.deck;
  if (d.plot == 'y') {
    rec::plot_file(console, d.plotfile.substr(0, static_cast<std::size_t>(d.plotfile_len)), d.plotcol1,
                   d.plotcol2, rec::PlotVariant::line_finding);
  }
}

}  // namespace tesk
