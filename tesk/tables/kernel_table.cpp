#include "tesk/tables/kernel_table.hpp"

#include <vector>

namespace tesk {
namespace {

const rec::Format kColumnCount("(' 3 ',i3)");
const rec::Format kTitle("(' Averaging kernels ')");
const rec::Format kAltitudes("(160(f9.2,1x))");
const rec::Format kKernelRow("(161(e9.2,1x))");
const rec::Format kTableDone("(' Table78 (all averaging kernels)')");

}  // namespace

void write_kernel_table(const std::string& path, const Matrix& a, std::span<const Segment> segments,
                        rec::Console& console) {
  write_kernel_file(path, a, segments);
  console.write(kTableDone);
}

void write_kernel_file(const std::string& path, const Matrix& a, std::span<const Segment> segments) {
  const int l = static_cast<int>(segments.size());
  rec::TextWriter table(path);
  table.write(kColumnCount, {l + 2});
  table.write(kTitle);
  std::vector<rec::OutItem> items;
  items.reserve(static_cast<std::size_t>(l) + 2);
  for (const Segment& s : segments) items.emplace_back(s.alt);
  table.write(kAltitudes, items);

  for (int k = 1; k <= l; ++k) {
    items.clear();
    for (int j = 1; j <= l; ++j) items.emplace_back(a(k, j));
    items.emplace_back(kernel_area(a, k, l));
    items.emplace_back(segments[static_cast<std::size_t>(k - 1)].alt);
    table.write(kKernelRow, items);
  }
  table.close();
}

}  // namespace tesk
