#include "tesk/engine/interferogram.hpp"

#include <span>
#include <vector>

#include "common/stop.hpp"
#include "tesk/engine/cosine_transform.hpp"
#include "tesk/limits.hpp"

namespace tesk {
namespace {

constexpr std::string_view kTableCount = "(' 2 3 ')";
constexpr std::string_view kTableHeader = "(' ind inter  diff ')";
constexpr std::string_view kTableRow = "(i5,1x,e11.4,1x,e11.4)";
constexpr std::string_view kTableDone = "(' Table90 (interferogram as table)')";

constexpr int kHeaderLines = 3;
constexpr int kMaxRows = kMaxInterferogramPoints - 1;  // the row that reaches it stops the run

}  // namespace

void interferogram_table(const std::string& table71, const std::string& table90, rec::Console& console) {
  std::vector<float> x(kMaxInterferogramPoints, 0.0f);
  std::vector<float> y(kMaxInterferogramPoints, 0.0f);
  int n = 0;
  {
    rec::TextReader in(table71);
    for (int h = 0; h < kHeaderLines; ++h) {
      if (in.read_free() == rec::ReadStatus::end) break;
    }
    float nu = 0.0f, target = 0.0f, other = 0.0f, all = 0.0f, difference = 0.0f;
    while (in.read_free({&nu, &target, &other, &all, &difference}) == rec::ReadStatus::ok) {
      x[static_cast<std::size_t>(n)] = all;
      y[static_cast<std::size_t>(n)] = all + difference;
      ++n;
      if (n >= kMaxRows) rec::stop(kInterferogramTooLong);
    }
  }

  int len = 2;
  while (len < n) len *= 2;
  if (len >= kMaxInterferogramPoints) rec::stop(kInterferogramTooLong);

  CosineTransform plans;
  const std::span<float> xs(x.data(), static_cast<std::size_t>(len));
  const std::span<float> ys(y.data(), static_cast<std::size_t>(len));
  cosine_transform(plans, xs, +1);
  cosine_transform(plans, ys, +1);

  rec::TextWriter out(table90);
  out.write(rec::Format(kTableCount));
  out.write(rec::Format(kTableHeader));
  const rec::Format row(kTableRow);
  for (int i = 1; i <= len; ++i) {
    const float xi = xs[static_cast<std::size_t>(i - 1)];
    out.write(row, {i, xi, ys[static_cast<std::size_t>(i - 1)] - xi});
  }
  out.close();
  console.write(rec::Format(kTableDone));
}

}  // namespace tesk
