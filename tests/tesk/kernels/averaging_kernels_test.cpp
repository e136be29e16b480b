#include "tesk/kernels/averaging_kernels.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "common/stop.hpp"
#include "program_run.hpp"
#include "tesk/run/progress.hpp"
#include "tesk/tables/kernel_table.hpp"

namespace {

using tesk::Matrix;

struct KernelRun {
  tesk::WeightingMatrix k = tesk::make_weighting_matrix();
  Matrix a = tesk::make_kernel_matrix();
  std::ostringstream out;
  rec::Console console{out};
  tesk::Progress progress{console};  // prints the diagnostics as run control does
  std::string stop;  // the stop message, if any

  void compute(int nseg, int npoints, float sn, float sa) {
    try {
      tesk::compute_averaging_kernels(tesk::RetrievalNoise{sn, sa}, nseg, npoints, k, a, progress.kernel_report());
    } catch (const rec::Stop& s) {
      stop = s.what();
    }
  }
  std::vector<std::string> lines() const { return testing_support::split_lines(out.str()); }
};

// The numbers of the console line that starts with `label`.
std::vector<double> numbers_after(const std::vector<std::string>& lines, const std::string& label) {
  for (const std::string& l : lines) {
    if (l.rfind(label, 0) != 0) continue;
    std::istringstream in(l.substr(label.size()));
    std::vector<double> v;
    double x;
    while (in >> x) v.push_back(x);
    return v;
  }
  ADD_FAILURE() << "no line " << label;
  return {};
}

double sq(float v) { return static_cast<double>(v * v); }

TEST(AveragingKernels, OneSegment) {
  // One segment: A = sum(k^2) sa^2 / (sum(k^2) sa^2 + sn^2).
  struct Case {
    std::vector<double> k;
    float sn, sa;
  } cases[] = {
      {{2.0}, 0.5f, 0.25f},
      {{0.5, 1.0, 2.0}, 0.01f, 0.2f},
      {{1e-30}, 0.001f, 0.1f},  // no information: A = 0 to the last digit that matters
  };
  for (const Case& c : cases) {
    KernelRun r;
    double k2 = 0.0;
    for (std::size_t i = 0; i < c.k.size(); ++i) {
      r.k(static_cast<int>(i) + 1, 1) = c.k[i];
      k2 += c.k[i] * c.k[i];
    }
    SCOPED_TRACE(k2);
    r.compute(1, static_cast<int>(c.k.size()), c.sn, c.sa);
    ASSERT_EQ(r.stop, "");
    const double expected = k2 * sq(c.sa) / (k2 * sq(c.sa) + sq(c.sn));
    EXPECT_NEAR(r.a(1, 1), expected, 1e-14 * expected + 1e-300);
  }
}

TEST(AveragingKernels, TwoSegmentsAgainstTheClosedForm) {
  KernelRun r;
  const double k[4][2] = {{1.0, 0.2}, {0.5, 0.7}, {0.1, 1.3}, {0.9, 0.0}};
  for (int i = 0; i < 4; ++i) {
    r.k(i + 1, 1) = k[i][0];
    r.k(i + 1, 2) = k[i][1];
  }
  const float sn = 0.05f, sa = 0.3f;
  r.compute(2, 4, sn, sa);
  ASSERT_EQ(r.stop, "");
  // G = K^T K / sn^2, A = (G + I / sa^2)^-1 G with the 2 x 2 inverse written out.
  double g[2][2] = {};
  for (int i = 0; i < 4; ++i) {
    for (int p = 0; p < 2; ++p) {
      for (int q = 0; q < 2; ++q) g[p][q] += k[i][p] * k[i][q] / sq(sn);
    }
  }
  const double t[2][2] = {{g[0][0] + 1 / sq(sa), g[0][1]}, {g[1][0], g[1][1] + 1 / sq(sa)}};
  const double det = t[0][0] * t[1][1] - t[0][1] * t[1][0];
  const double inv[2][2] = {{t[1][1] / det, -t[0][1] / det}, {-t[1][0] / det, t[0][0] / det}};
  for (int p = 0; p < 2; ++p) {
    for (int q = 0; q < 2; ++q) {
      const double expected = inv[p][0] * g[0][q] + inv[p][1] * g[1][q];
      EXPECT_NEAR(r.a(p + 1, q + 1), expected, 1e-12) << p << "," << q;
    }
  }
}

TEST(AveragingKernels, DiagnosticsShowZeroBeyondTheMatrices) {
  KernelRun r;
  const int nseg = 15, npoints = 25;
  for (int i = 1; i <= npoints; ++i) {
    for (int s = 1; s <= nseg; ++s) r.k(i, s) = 1e-3 * (i + 2 * s);
  }
  const float sn = 0.02f, sa = 0.5f;
  r.compute(nseg, npoints, sn, sa);
  ASSERT_EQ(r.stop, "");
  const auto lines = r.lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[3], "AVK calculated using Optimal Estimation");
  EXPECT_EQ(lines[6], "Calculation of averaging kernel finished");
  const double k10 = r.k(10, 10);
  struct Case {
    const char* label;
    std::vector<double> expected;
  } cases[] = {
      {"K ", {k10, 0, 0, 0, 0, 0, 0}},
      {"SX", {sq(sa), 0, 0, 0, 0, 0, 0}},
      {"SN", {sq(sn), sq(sn), 0, 0, 0, 0, 0}},
      {"Kt Sn-1 K ", {k10 * k10 / sq(sn), 0, 0, 0, 0, 0}},
      {"AK", {r.a(10, 10), 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const auto v = numbers_after(lines, c.label);
    ASSERT_EQ(v.size(), c.expected.size());
    for (std::size_t i = 0; i < v.size(); ++i) EXPECT_NEAR(v[i], c.expected[i], 5e-3 * c.expected[i]) << i;
  }
  EXPECT_GT(r.a(10, 10), 0.0);
}

TEST(AveragingKernels, StopsInTheirOrder) {
  const float inf_variance = 1e20f;  // squared beyond single precision: Sa^-1 = 0
  struct Case {
    const char* name;
    double k;
    float sn, sa;
    std::string message;
    std::string last_line;  // the last diagnostic line before the stop
  } cases[] = {
      {"no noise", 1.0, 0.0f, 0.0f, " spectral covariance matrix is singular ", "AVK calculated using Optimal Estimation"},
      {"no a-priori", 1.0, 0.1f, 0.0f, " appriori covariance matrix is singular ", "AVK calculated using Optimal Estimation"},
      {"no information", 0.0, 0.1f, inf_variance, " AVK-1 is singular ", "Kt Sn-1 K "},
      {"tiny noise", 1.0, 1e-20f, 0.1f, " Matrix numbers to big", "Kt Sn-1 K "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KernelRun r;
    for (int i = 1; i <= 3; ++i) {
      for (int s = 1; s <= 2; ++s) r.k(i, s) = c.k;
    }
    r.compute(2, 3, c.sn, c.sa);
    EXPECT_EQ(r.stop, c.message);
    const auto lines = r.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind(c.last_line, 0), 0u) << lines.back();
  }
}

TEST(KernelTable, WholeTables) {
  std::ostringstream out;
  rec::Console console(out);
  testing_support::WorkDir dir;
  const std::string path = (dir.path() / "table78").string();

  tesk::write_kernel_table(path, Matrix(), {}, console);
  EXPECT_EQ(dir.read("table78"), testing_support::crlf_lines({" 3   2", " Averaging kernels ", ""}));

  Matrix a = tesk::make_kernel_matrix();
  a(1, 1) = 0.5;
  a(1, 2) = 0.25;
  a(2, 1) = 0.3;
  a(2, 2) = 1.2;
  const std::vector<tesk::Segment> two = {{1, 250.0f, 1e-7f, 0.5f}, {2, 240.0f, 1e-7f, 1.5f}};
  tesk::write_kernel_table(path, a, two, console);
  EXPECT_EQ(dir.read("table78"), testing_support::crlf_lines({
                                     " 3   4",
                                     " Averaging kernels ",
                                     "      .50      1.50",
                                     "  .50E+00   .25E+00   .75E+00   .50E+00",
                                     "  .30E+00   .12E+01   .15E+01   .15E+01",
                                 }));

  // 50 segments: rows of 52 numbers, each area the sum of its row.
  std::vector<tesk::Segment> fifty;
  for (int s = 1; s <= 50; ++s) {
    fifty.push_back({s, 250.0f, 1e-7f, static_cast<float>(s)});  // two digits of altitude are printed
    for (int j = 1; j <= 50; ++j) a(s, j) = s == j ? 0.5 : 0.01 * std::sin(s + j);
  }
  tesk::write_kernel_table(path, a, fifty, console);
  const auto lines = testing_support::split_lines(dir.read("table78"));
  ASSERT_EQ(lines.size(), 53u);
  EXPECT_EQ(lines[0], " 3  52");
  for (int s = 1; s <= 50; ++s) {
    std::istringstream in(lines[static_cast<std::size_t>(s + 2)]);
    std::vector<double> v;
    double x;
    while (in >> x) v.push_back(x);
    ASSERT_EQ(v.size(), 52u);
    double sum = 0.0;
    for (int j = 1; j <= 50; ++j) sum += a(s, j);
    // Two digits are printed: the area is within half a unit of the second.
    EXPECT_NEAR(v[50], sum, 0.05 * std::pow(10.0, std::floor(std::log10(std::fabs(sum)))));
    EXPECT_EQ(v[51], s);
  }
  const std::string done = "Table78 (all averaging kernels)";
  EXPECT_EQ(testing_support::split_lines(out.str()), (std::vector<std::string>{done, done, done}));
}

}  // namespace
