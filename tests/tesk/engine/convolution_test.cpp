#include "tesk/engine/convolution.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "common/stop.hpp"

namespace {

constexpr float kVstart = 2000.0f;

// A spectrum of continuum 1 with one absorbing grid point of depth 0.5 at
// index `centre`: narrower than any instrument line shape.
std::vector<double> one_point_line(int npts, int centre) {
  std::vector<double> spec(static_cast<std::size_t>(npts + 1), 1.0);
  spec[static_cast<std::size_t>(centre)] = 0.5;
  return spec;
}

// The absorption of the line after convolution: the convolved continuum minus
// the convolved spectrum, so that the small deviations of the continuum near
// the interval's ends do not count.
std::vector<double> convolved_absorption(int npts, int centre, float grid, float resol, float fovarea,
                                         tesk::CosineTransform& plans) {
  std::vector<double> line = one_point_line(npts, centre);
  std::vector<double> continuum(static_cast<std::size_t>(npts + 1), 1.0);
  tesk::convolve_spectrum(tesk::Instrument{resol, fovarea}, tesk::IntervalGrid{kVstart, 0.0f, grid, npts}, plans, line);
  tesk::convolve_spectrum(tesk::Instrument{resol, fovarea}, tesk::IntervalGrid{kVstart, 0.0f, grid, npts}, plans, continuum);
  std::vector<double> a(static_cast<std::size_t>(npts + 1));
  for (int j = 0; j <= npts; ++j) a[static_cast<std::size_t>(j)] = continuum[static_cast<std::size_t>(j)] - line[static_cast<std::size_t>(j)];
  return a;
}

// Position (fractional index) of the first sign change of `a` walking from
// `from` by `step`, linearly interpolated.
double first_zero(const std::vector<double>& a, int from, int step) {
  for (int j = from; j + step >= 0 && j + step < static_cast<int>(a.size()); j += step) {
    if (a[static_cast<std::size_t>(j)] > 0.0 && a[static_cast<std::size_t>(j + step)] <= 0.0) return j + step * a[static_cast<std::size_t>(j)] / (a[static_cast<std::size_t>(j)] - a[static_cast<std::size_t>(j + step)]);
  }
  return -1.0;
}

// Centre of mass of the absorption `a` over [lo, hi].
double absorption_centre(const std::vector<double>& a, int lo, int hi) {
  double sum = 0.0;
  double moment = 0.0;
  for (int j = lo; j <= hi; ++j) {
    sum += a[static_cast<std::size_t>(j)];
    moment += j * a[static_cast<std::size_t>(j)];
  }
  return moment / sum;
}

TEST(ConvolveSpectrum, UncutInterferogramReturnsTheSpectrum) {
  struct Case {
    float grid;
    int npts;
    float resol;  // large enough that no coefficient is cut
  };
  const Case cases[] = {{0.01f, 1, 100.0f}, {0.01f, 3000, 50.0f}, {0.002f, 12345, 250.0f}};
  tesk::CosineTransform plans;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.npts);
    std::vector<double> spec(static_cast<std::size_t>(c.npts + 1));
    for (int j = 0; j <= c.npts; ++j) {
      const double d = (j - c.npts / 3) * c.grid;
      spec[static_cast<std::size_t>(j)] = 0.9 - 0.4 * std::exp(-d * d / 0.01) - (j % 97 == 5 ? 0.3 : 0.0);
    }
    std::vector<double> out = spec;
    tesk::convolve_spectrum(tesk::Instrument{c.resol, 0.0f}, tesk::IntervalGrid{kVstart, 0.0f, c.grid, c.npts}, plans, out);
    // Two single-precision transforms of values near 1.
    for (int j = 0; j <= c.npts; ++j) ASSERT_NEAR(out[static_cast<std::size_t>(j)], spec[static_cast<std::size_t>(j)], 4e-6) << j;
  }
}

// The Gaussian tapers join the interval's ends smoothly in value and slope,
// so the cut interferogram rings only from the jump in curvature at the joins:
// below 1e-4 of the continuum from 0.5 cm-1 inside the ends at path
// differences of 10 cm or more (it grows as the inverse cube of the path
// difference), where an untapered end would ring by a few 1e-2.
constexpr double kTaperRinging = 3e-4;

TEST(ConvolveSpectrum, ConstantSpectrumStaysConstantInside) {
  const float grid = 0.001f;
  const int npts = 4000;
  tesk::CosineTransform plans;
  for (float resol : {10.0f, 20.0f}) {
    SCOPED_TRACE(resol);
    std::vector<double> spec(npts + 1, 0.9);
    tesk::convolve_spectrum(tesk::Instrument{resol, 0.0f}, tesk::IntervalGrid{kVstart, 0.0f, grid, npts}, plans, spec);
    for (int j = 500; j <= npts - 500; ++j) ASSERT_NEAR(spec[static_cast<std::size_t>(j)], 0.9, 0.9 * kTaperRinging) << j;
  }
}

TEST(ConvolveSpectrum, NarrowLineGetsTheBoxcarLineShape) {
  const float grid = 0.001f;
  const int npts = 4000;
  const int centre = 2000;
  tesk::CosineTransform plans;
  for (float resol : {5.0f, 10.0f, 20.0f}) {
    SCOPED_TRACE(resol);
    const std::vector<double> a = convolved_absorption(npts, centre, grid, resol, 0.0f, plans);
    // sinc(2 pi L (nu - nu0)) has its first zeros at 1/(2L) from the centre.
    // The cut after a whole coefficient (1/(2m) relative) and the sidelobes of
    // the line's mirror image across the start of the transform (the cosine
    // transform's even extension) move them, and the peak, by about 1 % at the
    // shortest path difference here.
    const double half_width = 1.0 / (2.0 * static_cast<double>(resol)) / static_cast<double>(grid);  // points
    EXPECT_NEAR(first_zero(a, centre, 1) - centre, half_width, 0.02 * half_width);
    EXPECT_NEAR(centre - first_zero(a, centre, -1), half_width, 0.02 * half_width);
    // Strongest at the line, with the peak 2 L grid times the line's depth.
    EXPECT_NEAR(a[centre], 0.5 * 2.0 * static_cast<double>(resol) * static_cast<double>(grid), 0.02 * 0.5 * 2.0 * static_cast<double>(resol) * static_cast<double>(grid));
    for (int j = centre - 200; j <= centre + 200; ++j) {
      if (j != centre) {
        ASSERT_LT(a[static_cast<std::size_t>(j)], a[centre]) << j;
      }
    }
    // The area the line had (0.5 point widths); the far sidelobes beyond the
    // interval's ends are lost.
    double area = 0.0;
    for (double v : a) area += v;
    EXPECT_NEAR(area, 0.5, 0.01);
  }
}

// A channel spectrum 1 + a cos(2 pi x0 nu) is the interferogram's component at
// the optical path difference x0: kept below the maximum path difference,
// removed above it.
TEST(ConvolveSpectrum, CutsTheInterferogramAtTheMaximumPathDifference) {
  const float grid = 0.001f;
  const int npts = 8000;
  const float resol = 4.0f;
  struct Case {
    double x0;  // cm
    double kept;
  };
  tesk::CosineTransform plans;
  for (const Case& c : {Case{0.8 * static_cast<double>(resol), 1.0}, Case{0.5 * static_cast<double>(resol), 1.0}, Case{1.25 * static_cast<double>(resol), 0.0},
                        Case{2.0 * static_cast<double>(resol), 0.0}}) {
    SCOPED_TRACE(c.x0);
    std::vector<double> spec(npts + 1);
    for (int j = 0; j <= npts; ++j) spec[static_cast<std::size_t>(j)] = 0.8 + 0.1 * std::cos(2.0 * 3.141592653589793 * c.x0 * j * static_cast<double>(grid));
    tesk::convolve_spectrum(tesk::Instrument{resol, 0.0f}, tesk::IntervalGrid{kVstart, 0.0f, grid, npts}, plans, spec);
    // Amplitude of the modulation in the middle of the interval, from its
    // projection on the cosine and sine of the same period.
    double cos_part = 0.0;
    double sin_part = 0.0;
    int count = 0;
    for (int j = 2000; j <= 6000; ++j) {
      const double phase = 2.0 * 3.141592653589793 * c.x0 * j * static_cast<double>(grid);
      cos_part += (spec[static_cast<std::size_t>(j)] - 0.8) * std::cos(phase);
      sin_part += (spec[static_cast<std::size_t>(j)] - 0.8) * std::sin(phase);
      ++count;
    }
    const double amplitude = 2.0 * std::hypot(cos_part, sin_part) / count;
    EXPECT_NEAR(amplitude, 0.1 * c.kept, 0.003);  // leakage of a finite interval
  }
}

TEST(ConvolveSpectrum, FieldOfViewBoxMovesTheLineDownByHalfItsWidth) {
  const float grid = 0.001f;
  const int npts = 4000;
  const int centre = 2000;  // 2002 cm-1
  const int f = 20;         // box of 21 points at 2002 cm-1
  const float fovarea = static_cast<float>(f) * 6.283f * grid / (kVstart + centre * grid);
  tesk::CosineTransform plans;

  // Without a cut the box alone is seen: the line spread evenly over the
  // point itself and the f points below it.
  std::vector<double> boxed = one_point_line(npts, centre);
  tesk::convolve_spectrum(tesk::Instrument{1000.0f, fovarea}, tesk::IntervalGrid{kVstart, 0.0f, grid, npts}, plans, boxed);
  for (int j = centre - 100; j <= centre + 100; ++j) {
    SCOPED_TRACE(j);
    const bool in_box = j >= centre - f && j <= centre;
    EXPECT_NEAR(boxed[static_cast<std::size_t>(j)], in_box ? 1.0 - 0.5 / (f + 1) : 1.0, 4e-6);
  }

  // With the instrument line shape the box averages the convolved spectrum:
  // each point is the mean of itself and the next f points, and the line's
  // centre moves down by f/2 points.
  const std::vector<double> plain = convolved_absorption(npts, centre, grid, 10.0f, 0.0f, plans);
  const std::vector<double> wide = convolved_absorption(npts, centre, grid, 10.0f, fovarea, plans);
  for (int j = centre - 300; j <= centre + 300; ++j) {
    double mean = 0.0;
    for (int k = 0; k <= f; ++k) mean += plain[static_cast<std::size_t>(j + k)];
    mean /= f + 1;
    ASSERT_NEAR(wide[static_cast<std::size_t>(j)], mean, 2e-6) << j;  // rounding of two different transforms
  }
  const double shift = absorption_centre(wide, centre - f / 2 - 600, centre - f / 2 + 600) -
                       absorption_centre(plain, centre - 600, centre + 600);
  EXPECT_NEAR(shift, -f / 2.0, 0.2);
}

TEST(ConvolveSpectrum, TransformLongerThanTheWorkArrayStops) {
  // grid 0.001: 1000 taper points on each side, so 30001 points fit the
  // longest transform, 2^20, until the field-of-view extension passes
  // 1016574 points; a field of view of 10 sr passes the limit by itself.
  struct Case {
    float fovarea;
    bool stops;
  };
  const float grid = 0.001f;
  const int npts = 30000;
  const float nu_end = kVstart + npts * grid;
  const Case cases[] = {{0.0f, false},
                        {1016000.0f * 6.283f * grid / nu_end, false},
                        {1017000.0f * 6.283f * grid / nu_end, true},
                        {10.0f, true}};
  tesk::CosineTransform plans;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fovarea);
    std::vector<double> spec(npts + 1, 1.0);
    if (c.stops) {
      try {
        tesk::convolve_spectrum(tesk::Instrument{5.0f, c.fovarea}, tesk::IntervalGrid{kVstart, 0.0f, grid, npts}, plans, spec);
        ADD_FAILURE() << "no stop";
      } catch (const rec::Stop& e) {
        EXPECT_STREQ(e.what(), " Increase nuber of spectral points mp in Convolution");
      }
      for (double v : spec) ASSERT_EQ(v, 1.0);  // left as it was
    } else if (c.fovarea > 0.0f) {
      // Averaging over a million points for each of 30001 would take minutes:
      // the length check alone decides.
      EXPECT_NO_THROW(tesk::check_convolution_length(tesk::Instrument{5.0f, c.fovarea},
                                                     tesk::IntervalGrid{kVstart, 0.0f, grid, npts}));
    } else {
      EXPECT_NO_THROW(tesk::convolve_spectrum(tesk::Instrument{5.0f, c.fovarea}, tesk::IntervalGrid{kVstart, 0.0f, grid, npts}, plans, spec));
      EXPECT_NEAR(spec[npts / 2], 1.0, kTaperRinging);
    }
  }
}

TEST(ConvolveSpectrum, SameInputGivesTheSameBits) {
  tesk::CosineTransform plans;
  std::vector<double> a = one_point_line(5000, 1234);
  std::vector<double> b = a;
  tesk::convolve_spectrum(tesk::Instrument{3.0f, 1.0e-4f}, tesk::IntervalGrid{kVstart, 0.0f, 0.002f, 5000}, plans, a);
  tesk::CosineTransform fresh;
  tesk::convolve_spectrum(tesk::Instrument{3.0f, 1.0e-4f}, tesk::IntervalGrid{kVstart, 0.0f, 0.002f, 5000}, fresh, b);
  EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(double)), 0);
}

}  // namespace
