#include "tesk/run/line_pass.hpp"

#include <algorithm>
#include <numeric>

#include "tesk/engine/line_shape.hpp"
#include "tesk/engine/parallel_for.hpp"

namespace tesk {
namespace {

bool is_target(const SpectrumSetup& s, const Atmosphere& atm, const inputs::LineRecord& line, int l) {
  const TargetGas& t = s.target;
  if (line.gas != t.gas || (t.isotope != 0 && t.isotope != line.isotope)) return false;
  // Line finding counts the target as target only within the target layer.
  if (uses_scaled_target(s.study)) return t.layer_low <= atm.alt(l) && atm.alt(l) <= t.layer_high;
  return true;
}

}  // namespace

long long add_interval_lines(const SpectrumSetup& s, const PathModel& m, const IntervalGrid& g,
                             inputs::LineList& list, Extinction& ext, std::vector<inputs::LineRecord>& lines,
                             ProfileWalk walk, std::optional<LineReach> reach) {
  const Atmosphere& atm = m.atm;
  lines.clear();
  const LineReach r = reach.value_or(LineReach{g.vstart, g.vend});
  list.for_each_line(list.record_range(r.from, r.to, s.margin), [&](const inputs::LineRecord& line) {
    if (line.gas >= 1 && line.gas <= kMaxGases) lines.push_back(line);
  });
  const auto add_line = walk == ProfileWalk::plain ? add_voigt_line_plain : add_voigt_line;

  // A layer's rows belong to the thread that computes the layer, and receive
  // the lines in list order whatever the number of threads. Nothing in the
  // work of a layer can stop the run: the partition data refuse only gas
  // numbers below 1, and the lines kept here have 1..kMaxGases.
  const int nlayers = m.path.nlayers;
  std::vector<long long> updates(static_cast<std::size_t>(std::max(nlayers, 0)), 0);
  parallel_for(1, nlayers, [&](int l) {
    const float temp = atm.temp(l);
    long long n = 0;
    for (const inputs::LineRecord& line : lines) {
      const int c = is_target(s, atm, line, l) ? kTargetClass : kOtherClass;
      const double s_l =
          line_intensity_at(LineData{line.gas, line.position, line.intensity, line.lower_energy},
                            LayerData{temp, atm.column(l), m.path.pathfac(l)}) *  // double strength, single vmr
          static_cast<double>(atm.vmr(line.gas, l));
      const float alpha_d = doppler_halfwidth(line.gas, line.position, temp);
      const float alpha_l = lorentz_halfwidth(atm.pres(l), line.air_width, line.temp_exponent, temp);
      n += add_line(ext.row(c, l, g.npts), s_l, g, LineProfile{line.position, alpha_d, alpha_l}, s.wing_threshold);
    }
    updates[static_cast<std::size_t>(l - 1)] = n;
  });
  return std::accumulate(updates.begin(), updates.end(), 0LL);
}

}  // namespace tesk
