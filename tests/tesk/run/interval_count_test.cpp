#include <gtest/gtest.h>

#include <vector>

#include "tesk/run/spectral_run.hpp"

namespace {

TEST(IntervalCount, RangesAndTheirIntervals) {
  struct Case {
    float vlo, vhi, grid;
    int intervals;
  } cases[] = {
      {2000.0f, 2001.0f, 0.005f, 1},    // well within one interval width
      {2000.0f, 2300.0f, 0.01f, 1},     // exactly one width
      {2000.0f, 2750.0f, 0.01f, 3},     // 2.5 widths
      {2000.0f, 2600.0f, 0.01f, 2},     // an exact multiple: no empty last interval
      {2000.0f, 2900.0f, 0.01f, 3},
      {2000.0f, 2300.5f, 0.01f, 2},     // a little more than one width
      {2000.0f, 2054.5f, 0.0001f, 19},  // 18.2 widths of 3 cm-1
      {2000.0f, 2057.1f, 0.0001f, 20},
      {2000.0f, 2300.0f, 0.0005f, 20},  // an exact multiple of 15 cm-1
      {2000.0f, 1999.0f, 0.01f, 1},     // a reversed range is one (empty) interval
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.vhi) + " at " + std::to_string(c.grid));
    EXPECT_EQ(tesk::interval_count(c.vlo, c.vhi, c.grid), c.intervals);
  }
}

// The intervals of a range that needs many: each of 30000 steps but the last.
TEST(IntervalGrids, ManyIntervals) {
  tesk::Deck d;
  d.study = tesk::Study::line_finding;
  d.vlo = 2000.0f;
  d.vhi = 2305.0f;
  d.grid = 0.0005f;
  const std::vector<tesk::IntervalGrid> grids = tesk::interval_grids(d);
  ASSERT_EQ(grids.size(), 21u);
  for (std::size_t i = 0; i + 1 < grids.size(); ++i) EXPECT_EQ(grids[i].npts, 30000);
  EXPECT_EQ(grids.back().npts, 10000);
  EXPECT_FLOAT_EQ(grids.back().vend, 2305.0f);
}

}  // namespace
