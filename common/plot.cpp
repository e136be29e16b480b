#include "common/plot.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/nint.hpp"

namespace rec {
namespace {

constexpr std::string_view kSameData = " No plot because all X- or Y-data are the same ";
constexpr int kMaxColumns = 100;  // values of one row of the plotted file
constexpr int kColumnScale = 70;  // column positions 1..71

struct VariantTraits {
  int max_points;
  int rows;
  int width;  // characters of the line buffer
  char mark;
  float initial_min;
  float initial_max;  // just below zero, as the plots of stored runs show
  const Format* line_format;
  const Format* range_format;
  std::string_view column_message;
  bool framed;  // asterisk lines around the grid, or empty lines before it
};

const Format kFramedGridLine("(1x,a)");
const Format kGridLine("(a)");
const Format kLineFindingRanges("(' xmin: ',1pe9.2,' xmax: ',1pe9.2,'    ymin: ',    1pe9.2,' ymax: ',1pe9.2)");
const Format kInterferingGasRanges("(' xmin: ',f8.3,' xmax: ',f8.3,'    ymin: ',        1pe10.3,' ymax: ',1pe10.3)");
const Format kLeadLine("(1x,'**************************************')");
const Format kTrailLine("(1x,'***************************************')");

constexpr VariantTraits kLineFinding{
    600000, 26, 71, 'O', 1e27f, -1e-27f, &kFramedGridLine, &kLineFindingRanges,
    "Increase No. of columns for display program", true};
constexpr VariantTraits kInterferingGas{
    1000, 14, 70, '.', 1e22f, -1e-22f, &kGridLine, &kInterferingGasRanges, "Increase No. of columns.", false};

// Grid cell of a value: nearest integer of its scaled distance from the
// minimum, plus 1. A value that cannot be placed (not finite) gets none.
bool cell(float v, float vmin, float scale, float span, int& out) {
  float t = (v - vmin) * scale / span;
  if (!std::isfinite(t) || std::fabs(t) > 1e6f) return false;
  out = nint(t) + 1;
  return true;
}

}  // namespace

void plot_file(Console& console, const std::string& path, int xcol, int ycol, PlotVariant variant) {
  const VariantTraits& v = variant == PlotVariant::line_finding ? kLineFinding : kInterferingGas;
  TextReader in(path);
  if (xcol < 1 || ycol < 1 || xcol > kMaxColumns || ycol > kMaxColumns) {
    // Only the line-finding deck chooses the columns; the other program's are fixed.
    const std::string where = variant == PlotVariant::line_finding ? ": change line 45 of the deck." : ".";
    stop(v.column_message, " Columns " + std::to_string(xcol) + " and " + std::to_string(ycol) +
                               " of the plot file asked for; a plot takes columns 1 to " +
                               std::to_string(kMaxColumns) + where);
  }

  for (int i = 0; i < 3; ++i) in.read_free();

  const int nvalues = std::max(xcol, ycol);
  std::vector<float> row(static_cast<std::size_t>(nvalues), 0.0f);
  std::vector<InItem> items;
  for (float& value : row) items.emplace_back(&value);

  std::vector<float> x, y;
  float xmin = v.initial_min, ymin = v.initial_min;
  float xmax = v.initial_max, ymax = v.initial_max;
  while (static_cast<int>(x.size()) < v.max_points) {
    if (in.read_free(std::span<const InItem>(items)) != ReadStatus::ok) break;
    float xv = row[static_cast<std::size_t>(xcol - 1)];
    float yv = row[static_cast<std::size_t>(ycol - 1)];
    x.push_back(xv);
    y.push_back(yv);
    if (!(xv > xmin)) xmin = xv;
    if (xv >= xmax) xmax = xv;
    if (!(yv > ymin)) ymin = yv;
    if (yv >= ymax) ymax = yv;
  }
  in.close();

  const float dx = xmax - xmin;
  const float dy = ymax - ymin;
  if (dx == 0.0f || dy == 0.0f) stop(kSameData);

  // Each point's cell once; rows are independent of the order of the points.
  std::vector<std::string> grid(static_cast<std::size_t>(v.rows), std::string(static_cast<std::size_t>(v.width), ' '));
  for (std::size_t t = 0; t < x.size(); ++t) {
    int c = 0, q = 0;
    if (!cell(x[t], xmin, static_cast<float>(kColumnScale), dx, c)) continue;
    if (!cell(y[t], ymin, static_cast<float>(v.rows - 1), dy, q)) continue;
    if (c >= 1 && c <= v.width && q >= 1 && q <= v.rows) {
      grid[static_cast<std::size_t>(q - 1)][static_cast<std::size_t>(c - 1)] = v.mark;
    }
  }

  if (v.framed) {
    console.write(kLeadLine);
  } else {
    for (int i = 0; i < 26; ++i) console.write_free();
  }
  for (int r = v.rows; r >= 1; --r) {
    console.write(*v.line_format, {std::string_view(grid[static_cast<std::size_t>(r - 1)])});
  }
  if (v.framed) console.write(kTrailLine);
  console.write(*v.range_format, {xmin, xmax, ymin, ymax});
}

}  // namespace rec
