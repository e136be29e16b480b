#include "kormal/line_pass.hpp"

#include <cassert>

#include "common/nint.hpp"
#include "common/records.hpp"

namespace kormal {

void add_window_lines(inputs::LineList& list, const WindowRecord& w, int target, const Atmosphere& atm,
                      SpeciesData& species) {
  if (w.n > kMaxGridPoints) rec::stop(kIncreaseMp);
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
    if (n >= kMaxGridPoints) rec::stop(kIncreaseMp);
    assert(n >= 0);  // the bisection starts at the first line at or above w.lo
    species.od.row(gas)[static_cast<std::size_t>(n)] += amount;
  });
}

}  // namespace kormal
