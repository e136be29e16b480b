#include "tesk/run/deck_check.hpp"

#include <filesystem>

#include "tesk/atmosphere/atmosphere.hpp"
#include "tesk/engine/convolution.hpp"
#include "tesk/run/banner.hpp"
#include "tesk/run/memory_estimate.hpp"
#include "tesk/run/path_setup.hpp"
#include "tesk/run/plan_run.hpp"
#include "tesk/run/spectral_run.hpp"

namespace tesk {

Deck check_deck(const std::string& deck_path, rec::Console* console) {
  Deck d = read_deck(deck_path, "");
  finish_deck(d);
  // The settings that the run's information step reads at start-up, from
  // the directory of the deck.
  if (reads_plan_settings(d)) {
    read_plan_settings((std::filesystem::path(deck_path).parent_path() / kPlanFile).string());
  }
  if (console != nullptr) write_memory_line(*console, d);
  // A display or sort run computes no spectra: it reads no atmosphere and
  // meets no limit of the path or the range.
  if (d.runmode == RunMode::complete) {
    atmosphere_prefix(d.inpath);
    check_layers_to_remove(d.ndrop, kModelLayers);
    const Instrument instrument{d.resol, d.fovarea};
    for (const IntervalGrid& g : interval_grids(d)) {
      check_interval_points(d, g.npts, 0);
      if (instrument.convolves()) check_convolution_length(instrument, g);
    }
  }
  return d;
}

void check_deck_run(rec::Console& console) {
  write_banner(console);
  check_deck("input-vorne", &console);
}

}  // namespace tesk
