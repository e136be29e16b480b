#include "common/sort_keys.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numeric>
#include <vector>

namespace rec {
namespace {

// Straight insertion: take key i, move every earlier key that is strictly
// greater one place up, put the taken pair into the gap. Quadratic, but it
// defines the order for keys that a comparison sort cannot rank (NaN).
void insertion_sort(std::span<double> keys, std::span<int> order) {
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

}  // namespace

void sort_keys_ascending(std::span<double> keys, std::span<int> order) {
  assert(order.size() >= keys.size());
  if (std::any_of(keys.begin(), keys.end(), [](double k) { return std::isnan(k); })) {
    insertion_sort(keys, order);
    return;
  }
  // Without NaN the stable sort gives the insertion's order in n log n.
  std::vector<std::size_t> idx(keys.size());
  std::iota(idx.begin(), idx.end(), std::size_t{0});
  std::stable_sort(idx.begin(), idx.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  const std::vector<double> k(keys.begin(), keys.end());
  const std::vector<int> o(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(keys.size()));
  for (std::size_t i = 0; i < idx.size(); ++i) {
    keys[i] = k[idx[i]];
    order[i] = o[idx[i]];
  }
}

}  // namespace rec
