// The report of one window: a block on the console and in output.dat with
// the target's contribution and one row per listed gas, and one line in
// microwin that names the strongest interferers next to the window's row.
#pragma once

#include <string>

#include "common/records.hpp"
#include "kormal/analysis.hpp"
#include "kormal/deck.hpp"
#include "kormal/gas_names.hpp"
#include "kormal/window.hpp"

namespace kormal {

// Writes the block (console and `output`) and the window line (console and
// `microwin`); `header` is the first kHeaderLength characters of the window
// table's first line. The window line is the row's kRowLength characters,
// then blanks to 100 characters, with the first six listed names in columns
// 27-33, 34-40, ... (sort letter d) or 55-61, 62-68, ... (letter a). Gases
// other than the target are listed in rank order when their ranked measure
// reaches deck.gas_threshold, at most deck.listed_limit - 1 of them (every
// one for a limit of 0 or below).
void write_window_report(rec::Console& console, rec::TextWriter& output, rec::TextWriter& microwin,
                         const std::string& header, const WindowRecord& w, int target, const GasTable& gases,
                         const WindowMeasures& m, const KormalDeck& deck);

}  // namespace kormal
