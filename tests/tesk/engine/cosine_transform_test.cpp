#include "tesk/engine/cosine_transform.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Reproducible values in [-1, 1) from a fixed linear congruential sequence.
std::vector<float> noise(int n, std::uint32_t seed) {
  std::vector<float> y(static_cast<std::size_t>(n));
  for (float& v : y) {
    seed = seed * 1664525u + 1013904223u;
    v = static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
  }
  return y;
}

// The transform pair written out as plain double-precision sums (1-based in
// the formulas, 0-based here).
std::vector<double> direct_forward(const std::vector<float>& y) {
  const int n = static_cast<int>(y.size());
  std::vector<double> out(static_cast<std::size_t>(n), 0.0);
  for (int k = 0; k < n; ++k)
    for (int j = 0; j < n; ++j) out[static_cast<std::size_t>(k)] += static_cast<double>(y[static_cast<std::size_t>(j)]) * std::cos(kPi * k * (j + 0.5) / n);
  return out;
}

std::vector<double> direct_inverse(const std::vector<float>& y) {
  const int n = static_cast<int>(y.size());
  std::vector<double> out(static_cast<std::size_t>(n), 0.0);
  for (int j = 0; j < n; ++j) {
    out[static_cast<std::size_t>(j)] = 0.5 * static_cast<double>(y[0]);
    for (int k = 1; k < n; ++k) out[static_cast<std::size_t>(j)] += static_cast<double>(y[static_cast<std::size_t>(k)]) * std::cos(kPi * k * (j + 0.5) / n);
  }
  return out;
}

// Single-precision rounding grows like log2(N) times the rms size of the
// result; a few units of 1e-7 per stage leaves a wide margin.
double tolerance(const std::vector<double>& exact) {
  double rms = 0.0;
  for (double v : exact) rms += v * v;
  rms = std::sqrt(rms / static_cast<double>(exact.size()));
  return 5.0e-7 * std::log2(static_cast<double>(exact.size()) * 2.0) * rms;
}

TEST(CosineTransform, ForwardAndInverseMatchTheDirectSums) {
  tesk::CosineTransform plans;
  for (int n = 2; n <= 1024; n *= 2) {
    SCOPED_TRACE(n);
    const std::vector<float> y = noise(n, static_cast<std::uint32_t>(n));
    for (int direction : {1, -1}) {
      SCOPED_TRACE(direction);
      const std::vector<double> exact = direction == 1 ? direct_forward(y) : direct_inverse(y);
      std::vector<float> got = y;
      tesk::cosine_transform(plans, got, direction);
      const double tol = tolerance(exact);
      for (int k = 0; k < n; ++k) ASSERT_NEAR(got[static_cast<std::size_t>(k)], exact[static_cast<std::size_t>(k)], tol) << k;
    }
  }
}

TEST(CosineTransform, InverseAfterForwardIsHalfTheLengthTimesTheInput) {
  tesk::CosineTransform plans;
  for (int n : {2, 4, 64, 4096, 32768, 131072}) {
    SCOPED_TRACE(n);
    const std::vector<float> y = noise(n, 7u);
    std::vector<float> x = y;
    tesk::cosine_transform(plans, x, 1);
    tesk::cosine_transform(plans, x, -1);
    const float half = static_cast<float>(n) / 2.0f;
    const double tol = 1.0e-6 * std::log2(static_cast<double>(n)) * static_cast<double>(half);
    for (int j = 0; j < n; ++j) ASSERT_NEAR(x[static_cast<std::size_t>(j)], half * y[static_cast<std::size_t>(j)], tol) << j;
  }
}

TEST(CosineTransform, SameInputGivesTheSameBits) {
  const std::vector<float> y = noise(8192, 3u);
  std::vector<float> a = y;
  std::vector<float> b = y;
  std::vector<float> c = y;
  tesk::CosineTransform first;
  tesk::CosineTransform second;
  tesk::cosine_transform(first, a, 1);
  tesk::cosine_transform(first, b, 1);  // the cached plan
  tesk::cosine_transform(second, c, 1);  // a plan made afresh
  EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(float)), 0);
  EXPECT_EQ(std::memcmp(a.data(), c.data(), a.size() * sizeof(float)), 0);
}

TEST(CosineTransform, RefusesLengthsAndDirectionsItDoesNotHave) {
  tesk::CosineTransform plans;
  for (int n : {0, 1, 3, 6, 1000}) {
    SCOPED_TRACE(n);
    std::vector<float> y(static_cast<std::size_t>(n), 1.0f);
    EXPECT_THROW(tesk::cosine_transform(plans, y, 1), std::invalid_argument);
  }
  std::vector<float> y(8, 1.0f);
  EXPECT_THROW(tesk::cosine_transform(plans, y, 0), std::invalid_argument);
  EXPECT_THROW(tesk::cosine_transform(plans, y, 2), std::invalid_argument);
}

}  // namespace
