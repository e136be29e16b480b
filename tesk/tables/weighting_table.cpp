#include "tesk/tables/weighting_table.hpp"

#include <algorithm>
#include <vector>

#include "common/nint.hpp"

namespace tesk {
namespace {

const rec::Format kTableCount("(' 3 22 ')");
const rec::Format kTableTitle("(' Weighting function ')");
const rec::Format kTableHeader("(' weight  altitude')");
const rec::Format kTableRow("(21(e10.3,4x),f5.1)");
const rec::Format kTableDone("(' Table77 (averaged weighting function)')");

constexpr int kBins = 20;

}  // namespace

void write_averaged_weighting_table(const std::string& path, const WeightingMatrix& k,
                                    std::span<const Segment> segments, int npts,
                                    rec::Console& console) {
  rec::TextWriter out(path);
  out.write(kTableCount);
  out.write(kTableTitle);
  out.write(kTableHeader);
  const float bw = static_cast<float>(npts + 1) / static_cast<float>(kBins);
  std::vector<rec::OutItem> items;
  for (std::size_t s = 0; s < segments.size(); ++s) {
    items.clear();
    float total = 0.0f;
    for (int bin = 1; bin <= kBins; ++bin) {
      const int lo = rec::nint(static_cast<float>(bin - 1) * bw);
      // The last bin would reach point npts + 1, which does not exist.
      const int hi = std::min(rec::nint(static_cast<float>(bin) * bw), npts);
      float sum = 0.0f;
      // A single-precision sum: each addition is made in double and stored back.
      for (int i = lo; i <= hi; ++i) {
        sum = static_cast<float>(static_cast<double>(sum) + k(i + 1, static_cast<int>(s) + 1));
      }
      const float mean = hi >= lo ? sum / static_cast<float>(hi - lo + 1) : 0.0f;
      items.emplace_back(mean);
      total += mean;
    }
    items.emplace_back(total / static_cast<float>(kBins));
    items.emplace_back(segments[s].alt);
    out.write(kTableRow, std::span<const rec::OutItem>(items));
  }
  out.close();
  console.write(kTableDone);
}

}  // namespace tesk
