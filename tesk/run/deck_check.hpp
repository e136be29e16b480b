// The check of a deck without a run (`tesk --check-deck`): the answers of
// `input-vorne` go through the same reader and the same rules a run applies
// to them, in the order a run meets them, and nothing is computed or written.
#pragma once

#include <string>
#include <string_view>

#include "common/records.hpp"
#include "tesk/run/deck.hpp"

namespace tesk {

// The last console line of a check that found the deck good (the normal end
// of the check mode, in place of rec::kNormalEnd).
inline constexpr std::string_view kDeckAccepted = " The deck input-vorne passes every check of its answers";

// Reads the deck at `deck_path` without writing the echo file, maps the gas
// name (finish_deck), reads input-plan beside the deck when a run would
// (reads_plan_settings), and, for a complete run, applies the limits that follow
// from the answers alone, in the order a run meets them: the input prefix of
// the atmosphere files, the layers to remove from the model's, the points of
// each interval and the transform length of the line shape. What needs the
// files (the path through the atmosphere, the rule that ties the points to
// the path's segments, the line list) is left to the run. Throws the rec::Stop
// or rec::RecordError that a run would throw first among these checks;
// returns the finished deck. With a `console`, writes the memory line there
// once the deck is read, where a run writes it.
Deck check_deck(const std::string& deck_path = "input-vorne", rec::Console* console = nullptr);

// The body of the program's check mode: the banner and the memory line a run
// prints first, then check_deck on `input-vorne` in the working directory.
// Writes no file.
void check_deck_run(rec::Console& console);

}  // namespace tesk
