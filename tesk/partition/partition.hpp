// Partition-function ratios Q(296 K)/Q(T) that move a line intensity from the
// 296 K of the line list to a layer temperature: a rotational power law in
// T/296 times a quadratic fit of the vibrational partition function, per
// HITRAN molecule. Pure functions of built-in tables; no files, no console.
#pragma once

#include <string_view>

namespace tesk {

inline constexpr std::string_view kPartitionWrongMessage = " Partitioning function wrong";

// The partition index k of a program gas is inputs::partition_index.

// Vibrational partition function a + b T + c T^2 of molecule k at `temp` (K),
// single precision. Precondition: 1 <= k <= kPartitionMolecules.
float vibrational_fit(int k, float temp);

// Q(296 K) / Q(temp) of molecule k, single precision; `temp` in K, > 0. The
// fits are applied at any temperature, without a range check. Callers use 1
// for k > kPartitionMolecules instead of calling this.
// Throws rec::Stop with kPartitionWrongMessage when k is outside
// 1..kPartitionMolecules.
float partition_ratio(int k, float temp);

}  // namespace tesk
