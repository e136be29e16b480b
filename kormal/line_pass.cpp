#include "kormal/line_pass.hpp"

#include <cassert>
#include <string>

#include "common/nint.hpp"
#include "common/records.hpp"

namespace kormal {
namespace {

// The window's centre as its detail line shows it.
std::string centre_text(const WindowRecord& w) { return rec::plain_number(static_cast<double>(w.centre)); }

[[noreturn]] void stop_window_too_wide(const WindowRecord& w) {
  const double steps = (w.hi - w.lo) / kSpacing;
  const std::string needed = steps < 1.0e9 ? std::to_string(rec::nint(steps)) : "more than " + std::to_string(kMaxGridPoints);
  rec::stop(kIncreaseMp, " The window at " + centre_text(w) + " cm-1 needs " + needed +
                             " grid steps with its margins; at most " + std::to_string(kMaxGridPoints) +
                             " are allowed: narrow it in table76.");
}

[[noreturn]] void stop_line_beyond_grid(const WindowRecord& w, double position, int n) {
  rec::stop(kIncreaseMp, " A line at " + rec::plain_number(position) + " cm-1 falls on grid step " + std::to_string(n) +
                             " of the window at " + centre_text(w) + " cm-1; at most " +
                             std::to_string(kMaxGridPoints - 1) + " are allowed: narrow it in table76.");
}

}  // namespace

void add_window_lines(inputs::LineList& list, const WindowRecord& w, int target, const Atmosphere& atm,
                      SpeciesData& species) {
  if (w.n > kMaxGridPoints) stop_window_too_wide(w);
  const inputs::LineList::Range range = list.record_range(w.fmin, w.fmax, kMargin);
  list.for_each_line(range, [&](const inputs::LineRecord& line) {
    int gas = line.gas;
    if (gas < 1 || gas > atm.nspeci_file) return;
    if (w.isotope != 0 && gas == target && line.isotope != w.isotope) {
      if (line.isotope < 1 || line.isotope > kIsotopePseudoGases) return;
      gas = atm.nspeci_file + line.isotope;
    }
    const double amount = static_cast<double>(species.col(gas)) * line.intensity / kSpacing;
    const int n = rec::nint((line.position - w.lo) / kSpacing);
    if (n >= kMaxGridPoints) stop_line_beyond_grid(w, line.position, n);
    assert(n >= 0);  // the bisection starts at the first line at or above w.lo
    species.od.row(gas)[static_cast<std::size_t>(n)] += amount;
  });
}

}  // namespace kormal
