// table74: the rated target lines ranked best first by the deck's criterion,
// each with the starting window width. Lines without sensitivity are left out.
#pragma once

#include <string_view>

#include "common/records.hpp"
#include "tesk/linefind/settings.hpp"

namespace tesk {

// Reads table73 and writes table74. The rows are sorted by ascending key with
// equal keys in table73 order and written from the largest key down, so among
// equal keys the later row (higher wavenumber) comes first. Keys by `sortkey`:
// e 100000 - E'', d 10000 - |temperature dependence|, t sensitivity,
// i interference, r sensitivity minus interference. Prints " Table74 (lines
// sorted, best first)". The rows are as many as table73 holds. Throws
// rec::Stop for a header count outside 1..46, rec::RecordError for a missing
// or unreadable table73.
void rank_lines(const LineFindSettings& settings, const LineFindFiles& files, rec::Console& console);

}  // namespace tesk
