#include "tesk/kernels/weighting_functions.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "program_run.hpp"
#include "tesk/engine/planck.hpp"
#include "tesk/run/progress.hpp"
#include "tesk/tables/weighting_table.hpp"

namespace {

using tesk::Segment;

// The rules of a weighting-function study with `transrad` and `radunits`
// (deck letters, which the enumerators carry) and the background `tback` (K).
tesk::SpectrumSetup setup(char transrad, char radunits, float tback) {
  tesk::SpectrumSetup s;
  s.study = tesk::Study::weighting;
  s.quantity = static_cast<tesk::Quantity>(transrad);
  s.units = static_cast<tesk::Units>(radunits);
  s.background_temp = tback;
  return s;
}

struct Fixture {
  tesk::Extinction ext;
  tesk::Spectra spec;
  tesk::WeightingMatrix k = tesk::make_weighting_matrix();
  std::ostringstream out;
  rec::Console console{out};
};

TEST(WeightingFunctions, TransmissionFormAndFloors) {
  Fixture f;
  const int npts = 2;
  std::vector<Segment> segs = {{1, 250.0f, 2e-6f, 0.5f}, {2, 240.0f, 0.0f, 1.5f}, {3, 230.0f, 1e-6f, 2.5f}};
  for (int j = 0; j <= npts; ++j) {
    f.spec(tesk::kAllClass, j) = 0.5 + 0.1 * j;
    f.ext(tesk::kTargetClass, 1, j) = 0.01 * (j + 1);
    f.ext(tesk::kTargetClass, 2, j) = 0.02;  // zero mixing ratio: no derivative exists
    // layer 3 has no target optical depth
  }
  tesk::compute_weighting_functions(setup('a', 'r', 300.0f), tesk::IntervalGrid{2000.0f, 0.0f, 0.01f, npts},
                                    f.spec, f.ext, segs, 2.0, f.k);
  for (int j = 0; j <= npts; ++j) {
    SCOPED_TRACE(j);
    EXPECT_DOUBLE_EQ(f.k(j + 1, 1), 0.01 * (j + 1) * (0.5 + 0.1 * j) * 2.0 / static_cast<double>(2e-6f));
    EXPECT_EQ(f.k(j + 1, 2), 1e-30);
    EXPECT_EQ(f.k(j + 1, 3), 1e-30);
  }
  // Run control says so after the step.
  tesk::Progress(f.console).weighting_functions_done();
  EXPECT_EQ(f.out.str(), "Calculation of weighting function finished");
}

TEST(WeightingFunctions, RadianceOfAnIsothermalPathWithoutTarget) {
  Fixture f;
  std::vector<Segment> segs = {{1, 250.0f, 1e-6f, 0.5f}, {2, 250.0f, 1e-6f, 1.5f}};
  f.ext(tesk::kAllClass, 1, 0) = 0.3;
  f.ext(tesk::kAllClass, 2, 0) = 0.7;
  f.ext(tesk::kTargetClass, 1, 0) = 0.1;
  tesk::compute_weighting_functions(setup('r', 'r', 250.0f), tesk::IntervalGrid{1000.0f, 0.0f, 0.01f, 0},
                                    f.spec, f.ext, segs, 1.0, f.k);
  // With the background at the path's temperature the radiance is that of a
  // blackbody whatever the optical depth: no derivative, the positive floor.
  EXPECT_NEAR(f.k(1, 1), 0.0, 1e-12 * tesk::planck(1000.0f, 250.0f));
  EXPECT_EQ(f.k(1, 2), 1e-30);
}

TEST(WeightingFunctions, RadianceAgainstADifferenceQuotient) {
  // K of segment 1 is the negative derivative of the radiance with respect to
  // the target amount there: compare with the radiance of two segments
  // evaluated directly.
  Fixture f;
  const float nu = 1000.0f;
  const float t1 = 280.0f, t2 = 220.0f, tbb = 5000.0f;
  const double tau1 = 0.4, tau2 = 0.6, tau_target = 0.2;
  std::vector<Segment> segs = {{1, t1, 1.0f, 0.5f}, {2, t2, 1.0f, 1.5f}};
  f.ext(tesk::kAllClass, 1, 0) = tau1;
  f.ext(tesk::kAllClass, 2, 0) = tau2;
  f.ext(tesk::kTargetClass, 1, 0) = tau_target;
  tesk::compute_weighting_functions(setup('r', 'r', tbb), tesk::IntervalGrid{nu, 0.0f, 0.01f, 0},
                                    f.spec, f.ext, segs, 1.0, f.k);
  auto radiance = [&](double a1) {
    const double e1 = std::exp(-a1), e2 = std::exp(-tau2);
    return tesk::planck(nu, t1) * (1 - e1) + tesk::planck(nu, t2) * (1 - e2) * e1 + tesk::planck(nu, tbb) * e1 * e2;
  };
  // d radiance / d ln(amount) of the target in segment 1 = tau_target * d radiance / d tau1.
  const double h = 1e-6;
  const double derivative = tau_target * (radiance(tau1 + h) - radiance(tau1 - h)) / (2 * h);
  EXPECT_NEAR(f.k(1, 1), -derivative, 1e-6 * std::fabs(derivative));
}

TEST(WeightingFunctions, TooManyPoints) {
  Fixture f;
  std::vector<Segment> segs = {{1, 250.0f, 1e-6f, 0.5f}};
  try {
    tesk::compute_weighting_functions(setup('a', 'r', 300.0f), tesk::IntervalGrid{2000.0f, 0.0f, 0.01f, 1000},
                                      f.spec, f.ext, segs, 1.0, f.k);
    FAIL() << "no stop";
  } catch (const rec::Stop& s) {
    EXPECT_EQ(std::string(s.what()), " Decrease spectral size or grid for AVK-calculation");
  }
}

TEST(WeightingFunctions, NormalisationFactor) {
  Fixture f;
  for (int j = 0; j <= 3; ++j) f.spec(tesk::kAllClass, j) = 0.5;
  EXPECT_DOUBLE_EQ(tesk::normalisation_factor(f.spec, 3, tesk::Normalisation::normalised), 3.0 / 2.0);
  EXPECT_EQ(tesk::normalisation_factor(f.spec, 3, tesk::Normalisation::unit_factor), 1.0);
  // The line run control prints for it.
  tesk::Progress(f.console).normalisation(3.0 / 2.0);
  EXPECT_EQ(f.out.str(), "Normalisation factor: 1.50E+00");
}

TEST(WeightingFunctions, OpaqueIntervalGivesTheFloorThroughTable77) {
  // Every point of the all-gases spectrum is below the zero floor: the sum
  // that the normalisation divides by is 0.
  Fixture f;
  const int npts = 39;  // two points per bin of table77
  std::vector<Segment> segs = {{1, 250.0f, 1e-6f, 0.5f}};
  for (int j = 0; j <= npts; ++j) f.ext(tesk::kTargetClass, 1, j) = 80.0;
  const double factor = tesk::normalisation_factor(f.spec, npts, tesk::Normalisation::normalised);
  EXPECT_DOUBLE_EQ(factor, 39.0e30);
  tesk::compute_weighting_functions(setup('a', 'r', 300.0f), tesk::IntervalGrid{2000.0f, 0.0f, 0.01f, npts},
                                    f.spec, f.ext, segs, factor, f.k);
  for (int j = 0; j <= npts; ++j) EXPECT_EQ(f.k(j + 1, 1), 1e-30);
  testing_support::WorkDir dir;
  tesk::write_averaged_weighting_table((dir.path() / "table77").string(), f.k, segs, npts, f.console);
  std::string floor_row;
  for (int col = 1; col <= 21; ++col) floor_row += "  .100E-29    ";
  EXPECT_EQ(testing_support::split_lines(dir.read("table77")).at(3), floor_row + "   .5");
}

TEST(AveragedWeightingTable, BinsShareTheirBoundaryPoints) {
  Fixture f;
  const int npts = 39;  // 40 points, bin width 2
  for (int i = 0; i <= npts; ++i) f.k(i + 1, 1) = i;
  std::vector<Segment> segs = {{1, 250.0f, 1e-6f, 12.5f}};
  testing_support::WorkDir dir;
  const std::string path = (dir.path() / "table77").string();
  tesk::write_averaged_weighting_table(path, f.k, segs, npts, f.console);
  auto lines = testing_support::split_lines(dir.read("table77"));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], " 3 22 ");
  std::istringstream row(lines[3]);
  std::vector<double> v;
  double x;
  while (row >> x) v.push_back(x);
  ASSERT_EQ(v.size(), 22u);
  EXPECT_DOUBLE_EQ(v[0], 1.0);    // points 0, 1, 2
  EXPECT_DOUBLE_EQ(v[1], 3.0);    // points 2, 3, 4
  EXPECT_DOUBLE_EQ(v[18], 37.0);  // points 36, 37, 38
  EXPECT_DOUBLE_EQ(v[19], 38.5);  // points 38 and 39: point 40 does not exist
  // Bins 1..19 hold 2b - 1 on average; the table shows three digits.
  EXPECT_NEAR(v[20], (19.0 * 19.0 + 38.5) / 20.0, 0.05);
  EXPECT_DOUBLE_EQ(v[21], 12.5);
  EXPECT_NE(f.out.str().find("Table77 (averaged weighting function)"), std::string::npos);
}

TEST(AveragedWeightingTable, FewPointsLeaveEmptyBinsAtZero) {
  Fixture f;
  const int npts = 4;  // 5 points, bin width 0.25: most bins repeat a point, the last ones are past the end
  for (int i = 0; i <= npts; ++i) f.k(i + 1, 1) = 1.0;
  std::vector<Segment> segs = {{1, 250.0f, 1e-6f, 0.5f}};
  testing_support::WorkDir dir;
  const std::string path = (dir.path() / "table77").string();
  tesk::write_averaged_weighting_table(path, f.k, segs, npts, f.console);
  auto lines = testing_support::split_lines(dir.read("table77"));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3].find("nan"), std::string::npos);
  EXPECT_EQ(lines[3].find('*'), std::string::npos);
  std::istringstream row(lines[3]);
  std::vector<double> v;
  double x;
  while (row >> x) v.push_back(x);
  ASSERT_EQ(v.size(), 22u);
  EXPECT_EQ(v[0], 1.0);
  EXPECT_EQ(v[19], 0.0);  // bin 20 would hold point 5 only
}

}  // namespace
