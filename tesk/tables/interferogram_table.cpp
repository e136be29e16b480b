#include "tesk/tables/interferogram_table.hpp"

#include <span>
#include <vector>

#include "common/stop.hpp"
#include "tesk/engine/interferogram.hpp"
#include "tesk/tables/table71_reader.hpp"

namespace tesk {
namespace {

const rec::Format kTableCount("(' 2 3 ')");
const rec::Format kTableHeader("(' ind inter  diff ')");
const rec::Format kTableRow("(i5,1x,e11.4,1x,e11.4)");
const rec::Format kTableDone("(' Table90 (interferogram as table)')");

}  // namespace

void interferogram_table(const std::string& table71, const std::string& table90, rec::Console& console) {
  std::vector<float> x;
  std::vector<float> y;
  {
    Table71Reader in(table71, kDifferenceColumns);
    float nu = 0.0f, target = 0.0f, other = 0.0f, all = 0.0f, difference = 0.0f;
    while (in.next({&nu, &target, &other, &all, &difference}) == rec::ReadStatus::ok) {
      // The row beyond the longest transform stops the run before it is stored.
      if (x.size() >= static_cast<std::size_t>(kMaxInterferogramRows)) rec::stop(kInterferogramTooLong);
      x.push_back(all);
      y.push_back(all + difference);
    }
  }

  const int len = interferogram_length(static_cast<int>(x.size()));
  x.resize(static_cast<std::size_t>(len), 0.0f);
  y.resize(static_cast<std::size_t>(len), 0.0f);
  const std::span<float> xs(x);
  const std::span<float> ys(y);
  interferograms(xs, ys);

  rec::TextWriter out(table90);
  out.write(kTableCount);
  out.write(kTableHeader);
  for (int i = 1; i <= len; ++i) {
    const float xi = xs[static_cast<std::size_t>(i - 1)];
    out.write(kTableRow, {i, xi, ys[static_cast<std::size_t>(i - 1)] - xi});
  }
  out.close();
  console.write(kTableDone);
}

}  // namespace tesk
