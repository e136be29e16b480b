// The program's gas numbering: names 1 to 52 as the deck gives them (1 to 21
// as in HITRAN, then its own order; 49 is the deuterated water isotope).
// This table is the numbering's source: the HITRAN renumbering
// (inputs/molecules.hpp), the molecular masses (engine/molecular_mass.hpp),
// the partition rows and kormal's gas entries follow it, and tests tie each
// of them to these names. A new gas is added here first.
#pragma once

#include <array>
#include <string_view>

namespace tesk {

inline constexpr std::array<std::string_view, 52> kGasNames = {
    "h2o",   "co2",    "o3",     "n2o",   "co",      "ch4",    "o2",     "no",    "so2",
    "no2",   "nh3",    "hno3",   "oh",    "hf",      "hcl",    "hbr",    "hi",    "clo",
    "ocs",   "h2co",   "hocl",   "ho2",   "h2o2",    "hono",   "ho2no2", "n2o5",  "clno3",
    "hcn",   "ch3f",   "ch3cl",  "cf4",   "ccl2f2",  "ccl3f",  "ch3ccl3", "ccl4", "cof2",
    "cfclo", "c2h6",   "c2h4",   "c2h2",  "n2",      "chclf2", "cocl2",  "ch3br", "ch3i",
    "hcooh", "h2s",    "chcl2f", "hdo",   "sf6",     "f113",   "clcn"};

// The gas number of a name (blank-padded to 7 characters, lower case,
// compared exactly), 1..52, or 0 when the name is not in the table.
int gas_number(std::string_view name);

}  // namespace tesk
