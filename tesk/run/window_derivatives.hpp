// The derivatives of the spectrum the instrument records over one
// microwindow: with respect to the target's mixing ratio in each layer of
// the state, to all other gases together and to the temperature, with the
// noise of each point. The spectrum is that of the run's path, multiplied by
// the solar spectrum (transmission with the sun) and seen through the
// instrument line shape and field of view, in radiance or transmission units.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include <Eigen/Dense>

#include "inputs/line_list.hpp"
#include "tesk/engine/interval_grid.hpp"
#include "tesk/engine/solar_spectrum.hpp"
#include "tesk/engine/spectrum_setup.hpp"
#include "tesk/kernels/weighting_functions.hpp"
#include "tesk/run/line_pass.hpp"
#include "tesk/run/run_state.hpp"

namespace tesk {

// The retrieval's state: one element per layer the path passes, so that a
// limb path, which passes every layer below its top twice, counts each
// layer once. Elements in the order the path first meets their layer.
std::vector<Segment> state_layers(std::span<const Segment> segments);

// The models a window's derivatives are computed in: the path of the run,
// and the same path with every layer 1 K warmer (pressure and air column
// kept), whose spectrum minus the run's is the temperature derivative.
struct DerivativeModels {
  PathModel base;
  PathModel warm;
  std::span<const Segment> segments;  // path_segments of base
  std::span<const Segment> state;     // state_layers of segments
};

// What a window gives, one row per grid point of the window.
struct WindowDerivatives {
  Eigen::MatrixXd k;            // -dI/dx per unit mixing ratio, one column per state layer
  Eigen::VectorXd interferer;   // -dI/de with every other gas's optical depth times 1 + e
  Eigen::VectorXd temperature;  // I(T + 1 K) - I(T)
  Eigen::VectorXd sigma;        // noise of the point, in the units of I
  // Work space of the padded window, kept from window to window.
  Eigen::MatrixXd columns;  // the derivatives before the instrument
  Eigen::MatrixXd depths;   // -dI/dtau per segment (radiance)
};

// The noise of one grid point: `noise` relative to the continuum, per
// spectral sample of the instrument (spacing 1 / (2 x maximum path
// difference), or the grid without convolution), spread over the grid
// points of one sample so that the grid does not change the information:
// sigma = noise x continuum x sqrt(sample / grid). The continuum is 1 for
// transmission (the solar spectrum's continuum is 1 too) and, for radiance,
// the blackbody at the hotter of the background and the warmest segment.
double point_noise(const SpectrumSetup& s, std::span<const Segment> segments, float nu, float grid);

// The noise of one spectral sample, noise x continuum, as above.
double sample_noise(const SpectrumSetup& s, std::span<const Segment> segments, float nu);

// The grid points computed on either side of a window so that the line
// shape of the instrument sees the spectrum around it: 30 / (maximum path
// difference) cm-1 below, at least 0.1 cm-1, and above that plus the
// field of view's spread; none without convolution.
struct Padding {
  int below = 0;
  int above = 0;
};
Padding window_padding(const Instrument& ils, const IntervalGrid& window);

// The lines of the derivatives come by fixed blocks of the range: a point's
// spectrum takes the lines within the deck's margin of its block, so that
// what a window tells does not depend on what else is computed with it, nor
// on the window's own width. Blocks are kLineBlock cm-1 (a few times the
// usual margin, so that the lines around a block are a modest part of its
// work), counted on the deck's grid from the start of the range.
inline constexpr float kLineBlock = 5.0f;

class LineBlocks {
 public:
  LineBlocks(float vlo, float grid);
  // The block of grid point `point` (counted from vlo, may be negative).
  long long of(long long point) const;
  long long first_point(long long block) const { return block * points_; }
  long long last_point(long long block) const { return (block + 1) * points_ - 1; }
  LineReach reach(long long block) const;
  // The block of the wavenumber `nu`'s nearest grid point.
  long long at(float nu) const;

 private:
  double vlo_, grid_;
  long long points_;
};

// Fills `out` for the points of `window` under the rules `s` (a kernel
// study's, kernel_study_setup): computes the spectra of the padded window
// in `w` twice (warm, then base) without the instrument, forms the
// derivatives there and convolves each of them with the instrument, which
// is linear. Brightness-temperature runs are formed in radiance: at every
// point the conversion would scale the derivatives and the noise alike, and
// the information does not change. Throws what compute_interval_spectra
// throws; the caller has checked the padded window against the interval
// limits. The lines are those within the deck's margin of the padded
// window, or of `reach` when given (line_pass.hpp). Touches no file or
// console.
void window_derivatives(const SpectrumSetup& s, const DerivativeModels& m, SolarSpectrum& sun,
                        const IntervalGrid& window, inputs::LineList& list, IntervalWork& w, WindowDerivatives& out,
                        std::optional<LineReach> reach = {});

}  // namespace tesk
