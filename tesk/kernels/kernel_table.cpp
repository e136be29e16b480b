#include "tesk/kernels/kernel_table.hpp"

#include <vector>

namespace tesk {
namespace {

constexpr std::string_view kColumnCount = "(' 3 ',i3)";
constexpr std::string_view kTitle = "(' Averaging kernels ')";
constexpr std::string_view kAltitudes = "(160(f9.2,1x))";
constexpr std::string_view kKernelRow = "(161(e9.2,1x))";
constexpr std::string_view kTableDone = "(' Table78 (all averaging kernels)')";

}  // namespace

void write_kernel_table(const std::string& path, const Matrix& a, std::span<const Segment> segments,
                        rec::Console& console) {
  write_kernel_file(path, a, segments);
  console.write(rec::Format(kTableDone));
}

float kernel_area(const Matrix& a, int k, int nseg) {
  float area = 0.0f;
  for (int j = 1; j <= nseg; ++j) area = static_cast<float>(static_cast<double>(area) + a(k, j));
  return area;
}

void write_kernel_file(const std::string& path, const Matrix& a, std::span<const Segment> segments) {
  const int l = static_cast<int>(segments.size());
  rec::TextWriter table(path);
  table.write(rec::Format(kColumnCount), {l + 2});
  table.write(rec::Format(kTitle));
  std::vector<rec::OutItem> items;
  items.reserve(static_cast<std::size_t>(l) + 2);
  for (const Segment& s : segments) items.emplace_back(s.alt);
  table.write(rec::Format(kAltitudes), items);

  const rec::Format row(kKernelRow);
  for (int k = 1; k <= l; ++k) {
    items.clear();
    for (int j = 1; j <= l; ++j) items.emplace_back(a(k, j));
    items.emplace_back(kernel_area(a, k, l));
    items.emplace_back(segments[static_cast<std::size_t>(k - 1)].alt);
    table.write(row, items);
  }
  table.close();
}

}  // namespace tesk
