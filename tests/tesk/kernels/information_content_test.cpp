#include "tesk/kernels/information_content.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "common/stop.hpp"
#include "tesk/kernels/averaging_kernels.hpp"

namespace {

using tesk::Matrix;

constexpr int kSegments = 12;
constexpr int kPoints = 300;

// Weighting functions shaped like a line seen from the ground: largest low
// down and near the line centre, with a little structure so that no two
// columns are alike.
tesk::WeightingMatrix line_weights() {
  tesk::WeightingMatrix k = tesk::make_weighting_matrix();
  for (int i = 1; i <= kPoints; ++i) {
    const double x = (i - 150.0) / 20.0;
    for (int s = 1; s <= kSegments; ++s) {
      k(i, s) = 50.0 * std::exp(-0.25 * s) / (1.0 + x * x / s) * (1.0 + 0.1 * std::sin(0.7 * i + s));
    }
  }
  return k;
}

std::vector<tesk::Segment> ground_segments(int n) {
  std::vector<tesk::Segment> segs;
  for (int s = 1; s <= n; ++s) segs.push_back(tesk::Segment{s, 250.0f, 1e-7f, static_cast<float>(s) - 0.5f});
  return segs;
}

TEST(InformationContent, GivesTheKernelStudysKernelsBitForBit) {
  const auto k = line_weights();
  const auto segs = ground_segments(kSegments);
  struct Case {
    float sn, sa;
  } cases[] = {{0.01f, 0.1f}, {0.001f, 1.0f}, {0.05f, 0.02f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.sn) + " " + std::to_string(c.sa));
    Matrix reference = tesk::make_kernel_matrix();
    std::ostringstream out;
    rec::Console console(out);
    tesk::compute_averaging_kernels(kSegments, kPoints, k, reference, c.sn, c.sa, console);

    Matrix g(tesk::kMaxLevels, tesk::kMaxLevels);
    tesk::clear_information(kSegments, g);
    ASSERT_TRUE(tesk::add_information(kSegments, kPoints, k, c.sn, g));
    tesk::InformationWork work;
    Matrix a = tesk::make_kernel_matrix();
    const auto content = tesk::information_content(g, c.sa, segs, work, a);
    ASSERT_FALSE(content.singular);
    double trace = 0.0;
    for (int i = 1; i <= kSegments; ++i) {
      trace += reference(i, i);
      for (int j = 1; j <= kSegments; ++j) ASSERT_EQ(a(i, j), reference(i, j)) << i << " " << j;
    }
    EXPECT_EQ(content.dofs, trace);
    EXPECT_GT(content.dofs, 0.0);
    EXPECT_LT(content.dofs, kSegments);
  }
}

TEST(InformationContent, PiecesOfASpectrumAddUpToTheWhole) {
  const auto k = line_weights();
  Matrix whole(tesk::kMaxLevels, tesk::kMaxLevels);
  Matrix pieces(tesk::kMaxLevels, tesk::kMaxLevels);
  tesk::clear_information(kSegments, whole);
  tesk::clear_information(kSegments, pieces);
  ASSERT_TRUE(tesk::add_information(kSegments, kPoints, k, 0.01f, whole));
  // Points 1..110 and 111..300, each piece in rows from 1 on.
  tesk::WeightingMatrix piece = tesk::make_weighting_matrix();
  for (auto [first, count] : {std::pair{1, 110}, std::pair{111, 190}}) {
    for (int r = 1; r <= count; ++r) {
      for (int s = 1; s <= kSegments; ++s) piece(r, s) = k(first + r - 1, s);
    }
    ASSERT_TRUE(tesk::add_information(kSegments, count, piece, 0.01f, pieces));
  }
  for (int i = 1; i <= kSegments; ++i) {
    for (int j = 1; j <= kSegments; ++j) EXPECT_NEAR(pieces(i, j), whole(i, j), 1e-10 * std::fabs(whole(i, j)));
  }
}

TEST(InformationContent, AltitudesWhoseKernelAreaExceedsOneHalf) {
  // A diagonal G with sa = 1 gives A(k, k) = g / (g + 1), the area of row k.
  // The segments of a limb path pass 10.5, 5.5 and 2.5 km, then climb again.
  const std::vector<float> alt = {10.5f, 5.5f, 2.5f, 5.5f, 10.5f};
  struct Case {
    std::vector<double> g;
    float zlow, zhigh;
  } cases[] = {
      {{0.5, 3.0, 3.0, 3.0, 0.1}, 2.5f, 5.5f},
      {{3.0, 0.1, 0.1, 0.1, 0.1}, 10.5f, 10.5f},
      {{1.0, 1.0, 1.0, 1.0, 1.0}, 0.0f, 0.0f},  // areas of exactly 0.5 do not count
      {{0.0, 0.0, 0.0, 0.0, 0.0}, 0.0f, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.g[0]);
    std::vector<tesk::Segment> segs;
    Matrix g(tesk::kMaxLevels, tesk::kMaxLevels);
    double dofs = 0.0;
    for (std::size_t s = 0; s < alt.size(); ++s) {
      segs.push_back(tesk::Segment{1, 250.0f, 1e-7f, alt[s]});
      const int i = static_cast<int>(s) + 1;
      g(i, i) = c.g[s];
      dofs += c.g[s] / (c.g[s] + 1.0);
    }
    tesk::InformationWork work;
    Matrix a = tesk::make_kernel_matrix();
    const auto content = tesk::information_content(g, 1.0f, segs, work, a);
    ASSERT_FALSE(content.singular);
    EXPECT_NEAR(content.dofs, dofs, 1e-14);
    EXPECT_EQ(content.zlow, c.zlow);
    EXPECT_EQ(content.zhigh, c.zhigh);
  }
}

TEST(InformationContent, SingularMatricesAndNumbersTooBig) {
  const auto k = line_weights();
  const auto segs = ground_segments(kSegments);
  tesk::InformationWork work;
  Matrix g(tesk::kMaxLevels, tesk::kMaxLevels);
  Matrix a = tesk::make_kernel_matrix();
  a.fill(7.0);

  // No noise: Se has no inverse and G is left alone.
  g.fill(3.0);
  EXPECT_FALSE(tesk::add_information(kSegments, kPoints, k, 0.0f, g));
  EXPECT_EQ(g(1, 1), 3.0);
  EXPECT_EQ(g(kSegments, kSegments), 3.0);

  // No a-priori uncertainty: Sa has no inverse.
  tesk::clear_information(kSegments, g);
  ASSERT_TRUE(tesk::add_information(kSegments, kPoints, k, 0.01f, g));
  EXPECT_TRUE(tesk::information_content(g, 0.0f, segs, work, a).singular);

  // G = -Sa^-1 makes G + Sa^-1 zero.
  tesk::clear_information(kSegments, g);
  for (int i = 1; i <= kSegments; ++i) g(i, i) = -4.0;
  EXPECT_TRUE(tesk::information_content(g, 0.5f, segs, work, a).singular);
  EXPECT_EQ(a(1, 1), 7.0);  // the kernels are left as they were

  // A noise so small that K^T Se^-1 passes 1.0E36 stops as the kernel study does.
  tesk::clear_information(kSegments, g);
  try {
    tesk::add_information(kSegments, kPoints, k, 1e-18f, g);
    ADD_FAILURE() << "no stop";
  } catch (const rec::Stop& s) {
    EXPECT_EQ(std::string(s.what()), tesk::kMatrixNumbersTooBig);
  }
}

}  // namespace
