#include <gtest/gtest.h>

#include "tesk/run/memory_estimate.hpp"

namespace {

// The memory line's figure: the arrays every run holds (a display run), the
// line finding's samples, lines and matrices on top, and the kernel study's
// matrices over the points.
TEST(MemoryEstimate, GrowsWithWhatTheRunHolds) {
  tesk::Deck d;
  d.runmode = tesk::RunMode::display;
  EXPECT_EQ(tesk::memory_megabytes(d, 0), 144);
  d.runmode = tesk::RunMode::complete;
  d.study = tesk::Study::line_finding;
  d.vlo = 2900.0f;
  d.vhi = 3070.0f;
  d.grid = 0.002f;
  d.resol = 50.0f;  // four transforms of 32768 points: half a megabyte
  EXPECT_EQ(tesk::memory_megabytes(d, 0), 147);
  // 25554 lines held (48 bytes each), rated and made windows: 2.4 Mbytes more.
  EXPECT_EQ(tesk::memory_megabytes(d, 25554), 149);
  d.study = tesk::Study::kernels;
  d.vhi = 2901.0f;
  EXPECT_EQ(tesk::memory_megabytes(d, 0), 154);
}

}  // namespace
