// The window search over table71 samples: bisection and walk on ordered
// samples visit exactly what a scan of every sample visits.
#include "tesk/linefind/samples.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

std::vector<int> scan(const rec::Levels<float>& w, int last, double lo, double hi) {
  std::vector<int> v;
  for (int l = 1; l <= last; ++l) {
    if (static_cast<double>(w(l)) >= lo && static_cast<double>(w(l)) <= hi) v.push_back(l);
  }
  return v;
}

std::vector<int> search(const rec::Levels<float>& w, int last, bool ordered, double lo, double hi) {
  std::vector<int> v;
  tesk::for_each_sample_in(
      w, last, ordered, [&](float x) { return static_cast<double>(x) >= lo; },
      [&](float x) { return static_cast<double>(x) <= hi; }, [&](int l) { v.push_back(l); });
  return v;
}

// Grids with repeated wavenumbers, windows whose bounds fall on samples,
// between them, beyond either end, and empty ones.
TEST(SampleSearch, EqualsScanOfEverySample) {
  std::mt19937 gen(7);
  std::uniform_int_distribution<int> step(0, 3);  // 0 repeats the wavenumber
  rec::Levels<float> w(2000);
  float x = 2000.0f;
  for (int l = 1; l <= w.size(); ++l) {
    x += 0.005f * static_cast<float>(step(gen));
    w(l) = x;
  }
  ASSERT_TRUE(tesk::never_decreases(w, w.size()));
  std::uniform_int_distribution<int> pick(1, w.size());
  std::uniform_real_distribution<double> offset(-0.02, 0.5);
  for (int k = 0; k < 2000; ++k) {
    const double lo = k % 3 == 0 ? static_cast<double>(w(pick(gen))) : 1999.9 + 15.0 * (k / 2000.0);
    const double hi = k % 5 == 0 ? static_cast<double>(w(pick(gen))) : lo + offset(gen);
    const int last = k % 7 == 0 ? w.size() - 1 : w.size();
    ASSERT_EQ(search(w, last, true, lo, hi), scan(w, last, lo, hi)) << lo << " " << hi;
  }
}

TEST(SampleSearch, DecreasingWavenumbersAreScanned) {
  rec::Levels<float> w(6);
  const float values[] = {2000.0f, 2000.2f, 2000.1f, 2000.3f, 2000.15f, 2000.4f};
  for (int l = 1; l <= 6; ++l) w(l) = values[l - 1];
  ASSERT_FALSE(tesk::never_decreases(w, 6));
  EXPECT_EQ(search(w, 6, false, 2000.05, 2000.25), (std::vector<int>{2, 3, 5}));
  EXPECT_TRUE(search(w, 0, true, 0.0, 1e9).empty());
  EXPECT_TRUE(search(w, -1, false, 0.0, 1e9).empty());
}

}  // namespace
