#include "tesk/partition/partition.hpp"

#include <cassert>
#include <cmath>

#include "common/stop.hpp"
#include "tesk/partition/partition_table.hpp"

namespace tesk {

int partition_index(int gas) {
  switch (gas) {
    case 49: return 1;  // HDO shares the partition function of water
    case 41: return 22;
    case 28: return 23;
    case 30: return 24;
    case 23: return 25;
    case 40: return 26;
    case 38: return 27;
    case 36: return 29;
    case 50: return 30;
    case 47: return 31;
    case 46: return 32;
    case 22: return 33;
    case 27: return 35;
    default: return gas;
  }
}

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
