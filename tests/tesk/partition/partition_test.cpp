// Partition-function ratios: the gas-number mapping, the worked values, the
// physical shape of the fits (Qv through its 296 K value, rising with T), and
// the stop for a molecule without data.
#include "tesk/partition/partition.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/stop.hpp"
#include "inputs/molecules.hpp"
#include "tesk/partition/partition_table.hpp"

namespace {

using inputs::partition_index;
using tesk::partition_ratio;
using tesk::vibrational_fit;

TEST(PartitionRatio, WorkedValues) {
  // CO2 at 296 K: Qv(296) = 1.08484 against the tabulated 1.085.
  EXPECT_NEAR(vibrational_fit(2, 296.0f), 1.08484f, 2e-5f);
  EXPECT_NEAR(partition_ratio(2, 296.0f), 1.085 / 1.084834, 2e-6);
  EXPECT_NEAR(partition_ratio(2, 296.0f), 1.0002f, 1e-4f);
  // Water at 148 K: pure rotation of a non-linear molecule, (296/148)^1.5.
  EXPECT_NEAR(partition_ratio(1, 148.0f), std::pow(2.0, 1.5), 1e-5);
  // A linear molecule with the unit row: (296/T) exactly.
  EXPECT_EQ(partition_ratio(5, 148.0f), 2.0f);
}

TEST(PartitionRatio, UnitRowsGiveExactlyOneAt296K) {
  for (int k = 1; k <= tesk::kPartitionMolecules; ++k) {
    const tesk::PartitionRow& row = tesk::kPartitionTable[static_cast<std::size_t>(k - 1)];
    if (row.qv296 != 1.0f) continue;
    SCOPED_TRACE(k);
    EXPECT_EQ(partition_ratio(k, 296.0f), 1.0f);
  }
}

TEST(PartitionRatio, DeuteratedWaterSharesWater) {
  for (float t : {150.0f, 200.0f, 250.0f, 296.0f, 320.0f}) {
    SCOPED_TRACE(t);
    EXPECT_EQ(partition_ratio(partition_index(49), t), partition_ratio(partition_index(1), t));
  }
}

// The vibrational fits pass through the tabulated 296 K value, stay at or
// above 1 and rise with temperature from 210 K on (the quadratics have their
// minima below that); the ratio Q(296)/Q(T) falls with T over the whole range
// of the atmospheres. A mistyped coefficient breaks one of these.
TEST(PartitionRatio, FitsArePhysicalOverAtmosphericTemperatures) {
  for (int k = 1; k <= tesk::kPartitionMolecules; ++k) {
    SCOPED_TRACE(k);
    const tesk::PartitionRow& row = tesk::kPartitionTable[static_cast<std::size_t>(k - 1)];
    EXPECT_NEAR(vibrational_fit(k, 296.0f) / row.qv296, 1.0f, 2e-3f);
    float previous_fit = 0.0f;
    float previous_ratio = 1e30f;
    for (float t = 150.0f; t <= 320.0f; t += 10.0f) {
      const float fit = vibrational_fit(k, t);
      const float ratio = partition_ratio(k, t);
      EXPECT_GE(fit, 0.999f) << "T = " << t;  // Qv >= 1 up to the accuracy of the fit
      if (t >= 210.0f) {
        EXPECT_GE(fit, previous_fit) << "T = " << t;
      }
      EXPECT_LT(ratio, previous_ratio) << "T = " << t;
      previous_fit = fit;
      previous_ratio = ratio;
    }
  }
}

TEST(PartitionRatio, MoleculeWithoutDataStops) {
  for (int k : {33, 34, 36, 0, -1}) {
    SCOPED_TRACE(k);
    try {
      partition_ratio(k, 250.0f);
      ADD_FAILURE() << "no stop";
    } catch (const rec::Stop& stop) {
      EXPECT_EQ(std::string(stop.what()), " Partitioning function wrong");
    }
  }
  EXPECT_NO_THROW(partition_ratio(32, 250.0f));
}

}  // namespace
