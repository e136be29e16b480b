// The line pass of one window: every line within the margin of the window
// adds its optical depth to the grid point nearest to its position, in the
// line spectrum of its species.
#pragma once

#include "inputs/line_list.hpp"
#include "kormal/atmosphere.hpp"
#include "kormal/columns.hpp"
#include "kormal/window.hpp"

namespace kormal {

inline constexpr std::string_view kIncreaseMp = " Increase mp ";

// Reads the records from the first line at or above w.lo to the last line
// below w.hi (bisection with a 64-bit probe) and adds each line's
// col(gas) * intensity / spacing to species.od(gas, nearest grid point).
// In a window with an isotope digit, a target line of another isotope 1..5
// goes to its pseudo-gas and one of an isotope outside 1..5 is dropped.
// Lines of a gas without a column of the atmosphere file are ignored.
// Throws rec::Stop kIncreaseMp, with a detail line giving the steps and the
// limit, when the window has more than kMaxGridPoints steps or a line lands on
// point kMaxGridPoints or above; rec::RecordError
// for an unreadable or unsorted list.
void add_window_lines(inputs::LineList& list, const WindowRecord& w, int target, const Atmosphere& atm,
                      SpeciesData& species);

}  // namespace kormal
