// The check of a deck without a run (`kormal --check-deck`): `input-kormal`
// goes through the reader and the rules a run applies to its answers, and
// nothing is computed or written. Every other check of a run needs its files.
#pragma once

#include <string_view>

#include "common/records.hpp"

namespace kormal {

// The last console line of a check that found the deck good (the normal end
// of the check mode, in place of rec::kNormalEnd).
inline constexpr std::string_view kDeckAccepted = " The deck input-kormal passes every check of its answers";

// The body of the program's check mode: the banner a run prints first, then
// read_deck on `input-kormal` in the working directory. Throws the rec::Stop
// or rec::RecordError that a run would throw first. Writes no file.
void check_deck_run(rec::Console& console);

}  // namespace kormal
