#include "common/sort_keys.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// The reference: the straight insertion the ranking is defined by.
void reference_sort(std::vector<double>& keys, std::vector<int>& order) {
  for (std::size_t i = 1; i < keys.size(); ++i) {
    const double k = keys[i];
    const int o = order[i];
    std::size_t j = i;
    while (j > 0 && keys[j - 1] > k) {
      keys[j] = keys[j - 1];
      order[j] = order[j - 1];
      --j;
    }
    keys[j] = k;
    order[j] = o;
  }
}

TEST(SortKeysAscending, EqualKeysKeepTheirOrder) {
  std::vector<double> keys{3.0, 1.0, 3.0, -2.0, 1.0, 3.0};
  std::vector<int> order{1, 2, 3, 4, 5, 6};
  rec::sort_keys_ascending(keys, order);
  EXPECT_EQ(keys, (std::vector<double>{-2.0, 1.0, 1.0, 3.0, 3.0, 3.0}));
  EXPECT_EQ(order, (std::vector<int>{4, 2, 5, 1, 3, 6}));
}

TEST(SortKeysAscending, MatchesStraightInsertionWithManyTiesAndNaN) {
  std::mt19937 gen(7);
  std::uniform_int_distribution<int> pick(0, 9);  // few distinct values: many ties
  for (int with_nan = 0; with_nan <= 1; ++with_nan) {
    std::vector<double> keys(500);
    std::vector<int> order(500);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      keys[i] = pick(gen) - 4.5;
      order[i] = static_cast<int>(i) + 1;
    }
    if (with_nan) keys[123] = keys[400] = std::nan("");
    std::vector<double> ref_keys = keys;
    std::vector<int> ref_order = order;
    reference_sort(ref_keys, ref_order);
    rec::sort_keys_ascending(keys, order);
    EXPECT_EQ(order, ref_order) << "with NaN: " << with_nan;
  }
}

}  // namespace
