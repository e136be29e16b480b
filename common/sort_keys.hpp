// Stable ascending sort of real keys that carries an integer companion array
// along: the ranking of target lines and of interfering gases both sort this
// way, and both rely on equal keys keeping their order.
#pragma once

#include <span>

namespace rec {

// Sorts keys[0..n) into ascending order and applies the same moves to
// order[0..n). Equal keys keep their relative order, exactly as a straight
// insertion that moves only strictly greater keys would leave them. Keys that
// are not numbers (NaN) are handled by that insertion itself, so the order is
// the same in every case. Precondition: order.size() >= keys.size().
void sort_keys_ascending(std::span<double> keys, std::span<int> order);

}  // namespace rec
