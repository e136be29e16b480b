#include "tesk/linefind/line_finding.hpp"

#include <memory>

#include "tesk/linefind/line_rating.hpp"
#include "tesk/linefind/ranking.hpp"
#include "tesk/linefind/samples.hpp"
#include "tesk/linefind/target_lines.hpp"
#include "tesk/linefind/window_merging.hpp"
#include "tesk/linefind/window_optimisation.hpp"

namespace tesk {

void find_lines(const LineFindSettings& settings, const LineFindFiles& files, const SampleReaders& read,
                rec::Console& console) {
  {
    // The samples serve both target-line tables, then go.
    auto samples = std::make_unique<TargetSamples>();
    read.target(*samples);
    write_target_lines(settings, files, *samples, console);
    rate_target_lines(settings, files, *samples, console);
  }
  rank_lines(settings, files, console);
  {
    auto samples = std::make_unique<WindowSamples>();
    read.window(*samples);
    optimise_windows(settings, files, *samples, console);
  }
  combine_windows(settings, files, console);
}

}  // namespace tesk
