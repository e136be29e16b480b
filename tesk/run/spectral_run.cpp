#include "tesk/run/spectral_run.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/nint.hpp"
#include "tesk/constants.hpp"
#include "inputs/line_list.hpp"
#include "tesk/engine/air_path.hpp"
#include "tesk/engine/convolution.hpp"
#include "tesk/engine/cosine_transform.hpp"
#include "tesk/engine/parallel_for.hpp"
#include "tesk/engine/planck.hpp"
#include "tesk/engine/radiative_transfer.hpp"
#include "tesk/engine/solar_spectrum.hpp"
#include "tesk/engine/spectra.hpp"
#include "tesk/kernels/averaging_kernels.hpp"
#include "tesk/kernels/weighting_functions.hpp"
#include "tesk/linefind/target_lines.hpp"
#include "tesk/run/line_pass.hpp"
#include "tesk/run/path_setup.hpp"
#include "tesk/run/progress.hpp"
#include "tesk/tables/kernel_table.hpp"
#include "tesk/tables/spectrum_tables.hpp"
#include "tesk/tables/weighting_table.hpp"

namespace tesk {
namespace {

const rec::Format kWorkingAt("(' Working at ',f8.1,' - ',f8.1,' cm-1')");
const rec::Format kAtStep("(' at step: ',i6,' of ',i6,' with ',                i8,' points')");

const rec::Format kText("(a)");

constexpr float kIntervalSteps = static_cast<float>(kMaxIntervalSteps);

// The lines of the target in vlo..vhi, as table72 of a line-finding study
// lists them: the margin is not part of the range.
TargetLineCount count_target_lines(inputs::LineList& list, const TargetGas& t, float vlo, float vhi) {
  TargetLineCount count;
  list.for_each_line(list.record_range(vlo, vhi, 0.0f), [&](const inputs::LineRecord& line) {
    if (line.gas != t.gas) return;
    ++count.gas;
    if (t.isotope == 0 || line.isotope == t.isotope) ++count.isotope;
  });
  return count;
}

// Brightness temperature of radiance or transmission values when the setup
// asks for it, then the zero floor for every class formed.
void convert_units(Units units, Spectra& spec, const IntervalGrid& g, int first, int last) {
  for (int c = first; c <= last; ++c) {
    std::span<double> row = spec.row(c, g.npts);
    if (units == Units::brightness_temperature) brightness_temperature(row, g);
    for (double& v : row) {
      if (v < kZeroFloor) v = 0.0;
    }
  }
}

// The classes whose optical depths are filled, and the classes whose
// spectra are formed from them (first..last).
struct ClassRange {
  int depths = 0;
  int first = 1;
  int last = 0;
};

void interval_spectra(const SpectrumSetup& s, const PathModel& m, SolarSpectrum& sun, const IntervalGrid& g,
                      inputs::LineList& list, IntervalWork& w, const std::function<void()>& extinctions_done,
                      ClassRange classes, std::optional<LineReach> reach) {
  const int nlayers = m.path.nlayers;

  parallel_for(1, nlayers, [&](int l) {
    for (int c = 1; c <= classes.depths; ++c) {
      std::span<double> depths = w.ext.row(c, l, g.npts);
      std::fill(depths.begin(), depths.end(), 0.0);
    }
  });
  for (int c = classes.first; c <= classes.last; ++c) {
    std::span<double> row = w.spec.row(c, g.npts);
    std::fill(row.begin(), row.end(), s.quantity == Quantity::transmission ? 1.0 : 0.0);
  }

  add_interval_lines(s, m, g, list, w.ext, w.lines, ProfileWalk::blocked, reach);
  if (extinctions_done) extinctions_done();

  const double tfactor = s.target.factor;
  const bool scaled = uses_scaled_target(s.study) && classes.depths >= kScaledClass;
  parallel_for(1, nlayers, [&](int l) {
    for (int j = 0; j <= g.npts; ++j) {
      w.ext(kAllClass, l, j) = w.ext(kOtherClass, l, j) + w.ext(kTargetClass, l, j);
      if (scaled) w.ext(kScaledClass, l, j) = w.ext(kTargetClass, l, j) * tfactor + w.ext(kOtherClass, l, j);
    }
  });

  // Each class fills its own row of spec.
  const LayerPath path{m.atm.temp, m.path.levorder, m.path.nseg, s.geometry};
  parallel_for(classes.first, classes.last,
               [&](int c) { layer_spectrum(s, path, w.ext.depths(c), g, w.spec.row(c, g.npts)); });
  if (s.quantity == Quantity::transmission && s.solar) {
    apply_solar_spectrum(sun, w.spec.row(kAllClass, g.npts),
                         classes.last == kScaledClass ? w.spec.row(kScaledClass, g.npts) : std::span<double>(), g);
  }
  if (s.instrument.convolves()) {
    parallel_for(classes.first, classes.last,
                 [&](int c) { convolve_spectrum(s.instrument, g, w.plans, w.spec.row(c, g.npts)); });
  }
  convert_units(s.units, w.spec, g, classes.first, classes.last);
}

}  // namespace

std::vector<Segment> path_segments(const SpectrumSetup& s, const PathModel& m) {
  std::vector<Segment> segs;
  for (int k = 1; k <= m.path.nseg; ++k) {
    const int l = segment_layer(s.geometry, m.path.levorder, k);
    segs.push_back(Segment{l, m.atm.temp(l), m.atm.vmr(s.target.gas, l), m.atm.alt(l)});
  }
  return segs;
}

void compute_interval_spectra(const SpectrumSetup& s, const PathModel& m, SolarSpectrum& sun, const IntervalGrid& g,
                              inputs::LineList& list, IntervalWork& w,
                              const std::function<void()>& extinctions_done) {
  const int nspec = spectrum_class_count(s.study);
  interval_spectra(s, m, sun, g, list, w, extinctions_done, ClassRange{nspec, 1, nspec}, {});
}

void compute_all_gases_spectrum(const SpectrumSetup& s, const PathModel& m, SolarSpectrum& sun,
                                const IntervalGrid& g, inputs::LineList& list, IntervalWork& w,
                                std::optional<LineReach> reach) {
  interval_spectra(s, m, sun, g, list, w, {}, ClassRange{kAllClass, kAllClass, kAllClass}, reach);
}

namespace {

void run_interval(RunState& state, inputs::LineList& list, rec::TextWriter& table71, bool first,
                  Progress& progress) {
  const SpectrumSetup& s = state.setup;
  IntervalWork& w = state.work;
  const IntervalGrid& g = w.grid;
  compute_interval_spectra(s, PathModel{state.atm, state.path}, *state.sun, g, list, w,
                           [&] { progress.extinctions_done(); });
  if (writes_weighting_functions(s.study)) {
    const double f = normalisation_factor(w.spec, g.npts, s.normalisation);
    if (s.normalisation == Normalisation::normalised) progress.normalisation(f);
    compute_weighting_functions(s, g, w.spec, w.ext, state.segments, f, w.k);
    progress.weighting_functions_done();
    if (s.study == Study::kernels) {
      compute_averaging_kernels(s.retrieval, static_cast<int>(state.segments.size()), g.npts + 1, w.k, w.avk,
                                progress.kernel_report());
    }
  }
  write_spectrum_rows(table71, first, s.study, s.quantity, w.spec, g);
}

}  // namespace

void check_interval_points(const Deck& d, int npts, int nseg) {
  if (npts > kMaxIntervalSteps) {
    rec::stop(kTooManyPoints, " One interval of " + std::to_string(npts) + " grid steps; at most " +
                                  std::to_string(kMaxIntervalSteps) +
                                  " are allowed: narrow the range (lines 17 and 18) or coarsen the grid (line 28).");
  }
  // A range that is empty or reversed has no spectrum in any study.
  if (npts < 1 || (npts <= nseg && needs_more_points_than_segments(d.study))) rec::stop(kTooFewPoints);
  if (npts + 1 > kMaxKernelPoints && writes_weighting_functions(d.study)) rec::stop(kTooManyKernelStudyPoints);
}

std::vector<IntervalGrid> interval_grids(const Deck& d) {
  int ninterval = interval_count(d.vlo, d.vhi, d.grid);
  if (writes_weighting_functions(d.study)) ninterval = 1;  // these studies take the range as one interval

  const float width = kIntervalSteps * d.grid;
  std::vector<IntervalGrid> grids;
  for (int i = 1; i <= ninterval; ++i) {
    IntervalGrid g;
    g.grid = d.grid;
    if (ninterval > 1) {
      g.vstart = static_cast<float>(i - 1) * width + d.vlo;
      g.vend = i == ninterval ? d.vhi : static_cast<float>(i) * width + d.vlo;
    } else {
      g.vstart = d.vlo;
      g.vend = d.vhi;
    }
    g.npts = rec::nint((g.vend - g.vstart) / g.grid);
    grids.push_back(g);
  }
  return grids;
}

int interval_count(float vlo, float vhi, float grid) {
  const float width = kIntervalSteps * grid;
  if (!(vhi - vlo > width)) return 1;
  const float q = (vhi - vlo) / width;
  // An exact multiple would leave an empty last interval.
  if (q == std::floor(q)) return static_cast<int>(q);
  return rec::nint(q + 0.5f);
}

void run_spectra(RunState& state, rec::Console& console) {
  const Deck& d = state.deck;
  const SpectrumSetup& s = state.setup;
  Progress progress(console);
  // The atmosphere files are read before the tables are opened, so that a
  // table that is one of them is refused before anything is computed.
  set_up_path(state);
  rec::TextWriter table70(state.names.table70);
  rec::TextWriter table71(state.names.table71);

  const std::vector<IntervalGrid> grids = interval_grids(d);
  const int ninterval = static_cast<int>(grids.size());
  // Every limit of the intervals is met here, before the first line pass.
  for (const IntervalGrid& grid : grids) {
    check_interval_points(d, grid.npts, state.path.nseg);
    if (s.instrument.convolves()) check_convolution_length(s.instrument, grid);
  }

  state.segments = path_segments(s, PathModel{state.atm, state.path});
  IntervalGrid& g = state.work.grid;
  for (int i = 1; i <= ninterval; ++i) {
    g = grids[static_cast<std::size_t>(i - 1)];
    console.write(kWorkingAt, {g.vstart, g.vend});
    console.write(kAtStep, {i, ninterval, g.npts});
    console.write_free();

    inputs::LineList list(d.linefile, d.reclen, d.nrec, letter_of(d.dbtype));
    run_interval(state, list, table71, i == 1, progress);
  }
  {
    inputs::LineList list(d.linefile, d.reclen, d.nrec, letter_of(d.dbtype));
    const TargetLineCount count = count_target_lines(list, s.target, d.vlo, d.vhi);
    console.write(kText, {std::string_view(target_count_line(d.gasname, s.target.isotope, count))});
  }

  std::vector<float> vmr, alt;
  for (const Segment& seg : state.segments) {
    vmr.push_back(seg.target_vmr);
    alt.push_back(seg.alt);
  }
  write_profile_table(table70, vmr, alt);
  close_spectrum_tables(table70, table71, console);
  if (writes_weighting_functions(s.study)) {
    write_averaged_weighting_table(state.names.table77, state.work.k, state.segments, g.npts, console);
    if (s.study == Study::kernels) write_kernel_table(state.names.table78, state.work.avk, state.segments, console);
  }
}

}  // namespace tesk
