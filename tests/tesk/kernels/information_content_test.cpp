#include "tesk/kernels/information_content.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "common/stop.hpp"
#include "tesk/kernels/averaging_kernels.hpp"
#include "tesk/run/progress.hpp"

namespace {

using tesk::Matrix;

TEST(InformationContent, GivesTheKernelStudysKernelsBitForBit) {
  // Weighting functions shaped like a line seen from the ground, with some
  // structure so that no two columns are alike: 300 points, 12 segments.
  constexpr int kSeg = 12, kPts = 300;
  tesk::WeightingMatrix k = tesk::make_weighting_matrix();
  std::vector<tesk::Segment> segs;
  for (int s = 1; s <= kSeg; ++s) {
    segs.push_back(tesk::Segment{s, 250.0f, 1e-7f, static_cast<float>(s) - 0.5f});
    for (int i = 1; i <= kPts; ++i) {
      const double x = (i - 150.0) / 20.0;
      k(i, s) = 50.0 * std::exp(-0.25 * s) / (1.0 + x * x / s) * (1.0 + 0.1 * std::sin(0.7 * i + s));
    }
  }
  for (auto [sn, sa] : {std::pair{0.01f, 0.1f}, std::pair{0.001f, 1.0f}, std::pair{0.05f, 0.02f}}) {
    SCOPED_TRACE(std::to_string(sn) + " " + std::to_string(sa));
    Matrix reference = tesk::make_kernel_matrix();
    std::ostringstream out;
    rec::Console console(out);
    tesk::compute_averaging_kernels(tesk::RetrievalNoise{sn, sa}, kSeg, kPts, k, reference,
                                    tesk::Progress(console).kernel_report());

    Matrix g(tesk::kMaxLevels, tesk::kMaxLevels);
    ASSERT_TRUE(tesk::add_information(kSeg, kPts, k, sn, g));
    tesk::InformationWork work;
    Matrix a = tesk::make_kernel_matrix();
    const auto content = tesk::information_content(g, sa, segs, work, a);
    ASSERT_FALSE(content.singular);
    double trace = 0.0;
    for (int i = 1; i <= kSeg; ++i) {
      trace += reference(i, i);
      for (int j = 1; j <= kSeg; ++j) ASSERT_EQ(a(i, j), reference(i, j)) << i << " " << j;
    }
    EXPECT_EQ(content.dofs, trace);
    EXPECT_GT(content.dofs, 0.1);
  }
}

TEST(InformationContent, AltitudesSingularMatricesAndNumbersTooBig) {
  // A diagonal G with sa = 1 gives A(k, k) = g / (g + 1), the area of row k.
  // The segments of a limb path pass 10.5, 5.5 and 2.5 km, then climb again.
  const std::vector<float> alt = {10.5f, 5.5f, 2.5f, 5.5f, 10.5f};
  std::vector<tesk::Segment> segs;
  for (float z : alt) segs.push_back(tesk::Segment{1, 250.0f, 1e-7f, z});
  struct Case {
    std::vector<double> g;
    float sa;
    bool singular;
    float zlow, zhigh;
  } cases[] = {
      {{0.5, 3.0, 3.0, 3.0, 0.1}, 1.0f, false, 2.5f, 5.5f},
      {{3.0, 0.1, 0.1, 0.1, 0.1}, 1.0f, false, 10.5f, 10.5f},
      {{1.0, 1.0, 1.0, 1.0, 1.0}, 1.0f, false, 0.0f, 0.0f},  // areas of exactly 0.5 do not count
      {{1.0, 1.0, 1.0, 1.0, 1.0}, 0.0f, true, 0.0f, 0.0f},   // Sa has no inverse
      {{-4.0, 1.0, 1.0, 1.0, 1.0}, 0.5f, true, 0.0f, 0.0f},  // G + Sa^-1 has a zero row
  };
  tesk::InformationWork work;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.g[0]) + " " + std::to_string(c.sa));
    Matrix g(tesk::kMaxLevels, tesk::kMaxLevels);
    double dofs = 0.0;
    for (int i = 1; i <= 5; ++i) {
      g(i, i) = c.g[static_cast<std::size_t>(i - 1)];
      dofs += g(i, i) / (g(i, i) + 1.0);
    }
    Matrix a(tesk::kMaxLevels, tesk::kMaxLevels, 7.0);
    const auto content = tesk::information_content(g, c.sa, segs, work, a);
    ASSERT_EQ(content.singular, c.singular);
    if (c.singular) {
      EXPECT_EQ(a(1, 1), 7.0);  // the kernels are left as they were
      continue;
    }
    EXPECT_NEAR(content.dofs, dofs, 1e-14);
    EXPECT_EQ(content.zlow, c.zlow);
    EXPECT_EQ(content.zhigh, c.zhigh);
  }

  // No noise: Se has no inverse and G is left alone. A noise so small that
  // K^T Se^-1 passes 1.0E36 stops as the kernel study does.
  tesk::WeightingMatrix k = tesk::make_weighting_matrix();
  k.fill(50.0);
  Matrix g(tesk::kMaxLevels, tesk::kMaxLevels, 3.0);
  EXPECT_FALSE(tesk::add_information(5, 10, k, 0.0f, g));
  EXPECT_EQ(g(5, 5), 3.0);
  try {
    tesk::add_information(5, 10, k, 1e-18f, g);
    ADD_FAILURE() << "no stop";
  } catch (const rec::Stop& s) {
    EXPECT_EQ(std::string(s.what()), tesk::kMatrixNumbersTooBig);
  }
}

}  // namespace
