// kormal's gas entries against the line-finding program's names: the same
// numbers name the same gases, spelled alike except where kormal keeps its
// own spelling.
#include "kormal/gas_names.hpp"

#include <gtest/gtest.h>

#include <string>

#include "tesk/run/gas_names.hpp"

namespace {

TEST(KormalGasNames, NumberedAsTheLineFindingProgramExceptItsOwnSpellings) {
  ASSERT_EQ(static_cast<std::size_t>(kormal::kSharedGases), tesk::kGasNames.size());
  int own = 0;
  for (int gas = 1; gas <= kormal::kSharedGases; ++gas) {
    SCOPED_TRACE(gas);
    const std::string_view tesk_name = tesk::kGasNames[static_cast<std::size_t>(gas - 1)];
    std::string_view expected = tesk_name;
    for (const kormal::OwnSpelling& s : kormal::kOwnSpellings) {
      if (s.gas != gas) continue;
      EXPECT_EQ(s.tesk, tesk_name);
      expected = s.kormal;
      ++own;
    }
    EXPECT_EQ(kormal::original_gas_name(gas), expected);
  }
  EXPECT_EQ(own, static_cast<int>(kormal::kOwnSpellings.size()));
  EXPECT_EQ(kormal::original_gas_name(kormal::kNamedGases), "f142b");  // a gas only kormal has
  EXPECT_EQ(kormal::original_gas_name(kormal::kNamedGases + 1), "gas");
}

}  // namespace
