#include "tesk/partition/partition.hpp"

#include <cassert>
#include <cmath>

#include "common/stop.hpp"
#include "tesk/partition/partition_table.hpp"

namespace tesk {

float vibrational_fit(int k, float temp) {
  assert(k >= 1 && k <= kPartitionMolecules);
  const PartitionRow& row = kPartitionTable[static_cast<std::size_t>(k - 1)];
  return row.a + row.b * temp + row.c * (temp * temp);
}

float partition_ratio(int k, float temp) {
  // Numbers below 1 are refused too: they have no row and would index outside the table.
  if (k > kPartitionMolecules || k < 1) rec::stop(kPartitionWrongMessage);
  const PartitionRow& row = kPartitionTable[static_cast<std::size_t>(k - 1)];
  const float r = temp / 296.0f;
  const float rotational = row.linear == 1 ? r : std::pow(r, 1.5f);
  const float vibrational = vibrational_fit(k, temp) / row.qv296;
  return 1.0f / (vibrational * rotational);
}

}  // namespace tesk
