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

// The original entries. Their texts are data: 16 is "hb", 45 is "ch3I" with
// a capital I, and 54 to 120 are all "gas".
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
