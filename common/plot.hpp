// The console plot: two columns of a numeric text table drawn as a coarse
// scatter plot of characters, with the data ranges below it. Both programs use
// it, each with its own grid size, mark, limits and range format.
#pragma once

#include <string>

#include "common/records.hpp"

namespace rec {

enum class PlotVariant {
  line_finding,     // 26 rows, mark O, up to 600000 points, framed by asterisk lines
  interfering_gas,  // 14 rows, mark ., up to 1000 points, after 26 empty lines
};

// Reads `path` (status OLD; three header records skipped, then one point per
// free-form read of max(xcol, ycol) values) and draws column `ycol` against
// column `xcol` (both 1..100) on the console. Throws Stop with the variant's
// column message for a column outside 1..100, and " No plot because all X- or
// Y-data are the same " when either range is empty; RecordError for a
// missing file or an unreadable value.
void plot_file(Console& console, const std::string& path, int xcol, int ycol, PlotVariant variant);

}  // namespace rec
