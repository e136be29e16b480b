#include "tesk/run/spectral_run.hpp"

#include <algorithm>
#include <cmath>
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
#include "tesk/run/line_pass.hpp"
#include "tesk/run/path_setup.hpp"
#include "tesk/tables/kernel_table.hpp"
#include "tesk/tables/spectrum_tables.hpp"
#include "tesk/tables/weighting_table.hpp"

namespace tesk {
namespace {

constexpr std::string_view kWorkingAt = "(' Working at ',f8.1,' - ',f8.1,' cm-1')";
constexpr std::string_view kAtStep = "(' at step: ',i6,' of ',i6,' with ',                i8,' points')";
constexpr std::string_view kExtinctionsDone = "(' Extinctions and broadening calculated')";

constexpr float kIntervalSteps = static_cast<float>(kMaxIntervalSteps);

void check_points(const Deck& d, int npts, int nseg) {
  if (npts > kMaxIntervalSteps) rec::stop(kTooManyPoints);
  // A range that is empty or reversed has no spectrum in any study.
  if (npts < 1 || (npts <= nseg && needs_more_points_than_segments(d.study))) rec::stop(kTooFewPoints);
  if (npts + 1 > kMaxKernelPoints && writes_weighting_functions(d.study)) rec::stop(kTooManyKernelStudyPoints);
}

// Brightness temperature of radiance or transmission values when the deck
// asks for it, then the zero floor for every class.
void convert_units(const Deck& d, Spectra& spec, const IntervalGrid& g, int nspec) {
  for (int c = 1; c <= nspec; ++c) {
    std::span<double> row = spec.row(c, g.npts);
    if (d.radunits == 'b') brightness_temperature(row, g);
    for (double& v : row) {
      if (v < kZeroFloor) v = 0.0;
    }
  }
}

}  // namespace

std::vector<Segment> path_segments(const RunState& state) {
  std::vector<Segment> segs;
  for (int s = 1; s <= state.path.nseg; ++s) {
    const int l = segment_layer(state.deck.geom, state.path.levorder, s);
    segs.push_back(Segment{l, state.atm.temp(l), state.atm.vmr(state.deck.gasno, l), state.atm.alt(l)});
  }
  return segs;
}

void compute_interval_spectra(RunState& state, inputs::LineList& list, rec::Console& console) {
  const Deck& d = state.deck;
  IntervalWork& w = state.work;
  const IntervalGrid& g = w.grid;
  const int nspec = spectrum_class_count(d.study);
  const int nlayers = state.path.nlayers;

  parallel_for(1, nlayers, [&](int l) {
    for (int c = 1; c <= nspec; ++c) {
      std::span<double> depths = w.ext.row(c, l, g.npts);
      std::fill(depths.begin(), depths.end(), 0.0);
    }
  });
  for (int c = 1; c <= nspec; ++c) {
    std::span<double> row = w.spec.row(c, g.npts);
    std::fill(row.begin(), row.end(), d.transrad == 'a' ? 1.0 : 0.0);
  }

  add_interval_lines(list, state, g, w.ext, w.lines);
  console.write(rec::Format(kExtinctionsDone));

  const double tfactor = d.tfactor;
  const bool scaled = uses_scaled_target(d.study);
  parallel_for(1, nlayers, [&](int l) {
    for (int j = 0; j <= g.npts; ++j) {
      w.ext(kAllClass, l, j) = w.ext(kOtherClass, l, j) + w.ext(kTargetClass, l, j);
      if (scaled) w.ext(kScaledClass, l, j) = w.ext(kTargetClass, l, j) * tfactor + w.ext(kOtherClass, l, j);
    }
  });

  // Each class fills its own row of spec; a run that can stop there computes
  // them in order.
  const auto class_spectrum = [&](int c) {
    layer_spectrum(w.spec.row(c, g.npts), d.transrad, w.ext.depths(c), g, state.atm.temp, d.tback,
                   state.path.nseg, state.path.levorder, d.geom);
  };
  if (layer_spectrum_can_stop(d.transrad, state.atm.temp, d.tback, state.path.nseg, state.path.levorder, d.geom)) {
    for (int c = 1; c <= nspec; ++c) class_spectrum(c);
  } else {
    parallel_for(1, nspec, class_spectrum);
  }
  if (d.transrad == 'a' && d.solar == 'y') {
    apply_solar_spectrum(w.spec.row(kAllClass, g.npts), nspec == 4 ? w.spec.row(kScaledClass, g.npts) : std::span<double>(),
                         d.inpath, g);
  }
  if (d.resol != 0.0f) {
    convolution_length(g, d.fovarea);  // stops here, before the classes run in parallel
    parallel_for(1, nspec, [&](int c) { convolve_spectrum(w.spec.row(c, g.npts), g, d.resol, d.fovarea, w.plans); });
  }
  convert_units(d, w.spec, g, nspec);
}

namespace {

void run_interval(RunState& state, inputs::LineList& list, rec::TextWriter& table71, bool first,
                  rec::Console& console) {
  const Deck& d = state.deck;
  IntervalWork& w = state.work;
  const IntervalGrid& g = w.grid;
  compute_interval_spectra(state, list, console);
  if (writes_weighting_functions(d.study)) {
    const double f = normalisation_factor(w.spec, g.npts, d.norm, console);
    compute_weighting_functions(w.k, w.spec, w.ext, state.segments, f, d.transrad, d.radunits, g, d.tback, console);
    if (d.study == Study::kernels) {
      compute_averaging_kernels(static_cast<int>(state.segments.size()), g.npts + 1, w.k, w.avk, d.avkpar1,
                                d.avkpar2, console);
    }
  }
  write_spectrum_rows(table71, first, d.study, d.transrad, w.spec, g);
}

}  // namespace

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
  rec::TextWriter table70(state.names.table70);
  rec::TextWriter table71(state.names.table71);
  set_up_path(state);

  int ninterval = interval_count(d.vlo, d.vhi, d.grid);
  if (ninterval >= kMaxIntervals) rec::stop(kTooManyIntervals);
  if (writes_weighting_functions(d.study)) ninterval = 1;  // these studies take the range as one interval

  state.segments = path_segments(state);
  const float width = kIntervalSteps * d.grid;
  IntervalGrid& g = state.work.grid;
  g.grid = d.grid;
  for (int i = 1; i <= ninterval; ++i) {
    if (ninterval > 1) {
      g.vstart = static_cast<float>(i - 1) * width + d.vlo;
      g.vend = i == ninterval ? d.vhi : static_cast<float>(i) * width + d.vlo;
    } else {
      g.vstart = d.vlo;
      g.vend = d.vhi;
    }
    g.npts = rec::nint((g.vend - g.vstart) / g.grid);
    check_points(d, g.npts, state.path.nseg);
    console.write(rec::Format(kWorkingAt), {g.vstart, g.vend});
    console.write(rec::Format(kAtStep), {i, ninterval, g.npts});
    console.write_free();

    inputs::LineList list(d.line_list_path(), d.reclen, d.nrec, d.dbtype);
    run_interval(state, list, table71, i == 1, console);
  }

  std::vector<float> vmr, alt;
  for (const Segment& s : state.segments) {
    vmr.push_back(s.target_vmr);
    alt.push_back(s.alt);
  }
  write_profile_table(table70, vmr, alt);
  close_spectrum_tables(table70, table71, console);
  if (writes_weighting_functions(d.study)) {
    write_averaged_weighting_table(state.names.table77, state.work.k, state.segments, g.npts, console);
    if (d.study == Study::kernels) write_kernel_table(state.names.table78, state.work.avk, state.segments, console);
  }
}

}  // namespace tesk
