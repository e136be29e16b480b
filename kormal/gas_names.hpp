// The interfering-gas program's own gas numbering: 120 entries of 7
// characters. The entry number is the species column of the atmosphere file
// and the molecule number of the line list after renumbering. A window may
// rewrite entries for its pseudo-gases; every window starts from the
// original table, so a rewrite never changes how a later row is read.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "kormal/limits.hpp"

namespace kormal {

// The numbering is the line-finding program's (tesk/run/gas_names.hpp) for
// gases 1 to 52, so that a table76 of that program names its target here;
// kormal adds gas 53. A few entries keep their own spelling: the texts are
// data, which the reports print and the atmosphere files' species columns
// follow, so they are named here rather than corrected.
inline constexpr int kNamedGases = 53;      // entries with a gas of their own; 54 to 120 are "gas"
inline constexpr int kSharedGases = 52;     // numbered as in the line-finding program

struct OwnSpelling {
  int gas;
  std::string_view kormal;  // this program's entry
  std::string_view tesk;    // the line-finding program's name of the same gas
};
inline constexpr std::array<OwnSpelling, 3> kOwnSpellings = {{
    {16, "hb", "hbr"},        // hydrogen bromide, cut to two letters
    {45, "ch3I", "ch3i"},     // methyl iodide, with a capital I
    {48, "chfcl2", "chcl2f"}, // CFC-21, its atoms in another order
}};

// The original entries: kOwnSpellings where they apply, "f142b" for gas 53,
// and "gas" for 54 to 120.
std::string_view original_gas_name(int gas);

// The entries in force for one window, each exactly kNameLength characters,
// blank-padded.
class GasTable {
 public:
  GasTable();  // the original entries

  void reset();  // back to the original entries
  const std::string& name(int gas) const;
  void set(int gas, std::string_view text);  // cut or blank-padded to kNameLength

  // The number of the last entry equal to `name` (blank-padded to
  // kNameLength), or 0 when none is.
  int find(std::string_view name) const;

 private:
  std::array<std::string, kMaxSpecies> names_;
};

// The 7-character text of a name: cut, or padded with blanks.
std::string padded_name(std::string_view text);

}  // namespace kormal
