#include "tesk/tables/interferogram_table.hpp"

#include <span>
#include <vector>

#include "common/stop.hpp"
#include "tesk/engine/interferogram.hpp"
#include "tesk/limits.hpp"
#include "tesk/tables/table71_reader.hpp"

namespace tesk {
namespace {

const rec::Format kTableCount("(' 2 3 ')");
const rec::Format kTableHeader("(' ind inter  diff ')");
const rec::Format kTableRow("(i5,1x,e11.4,1x,e11.4)");
const rec::Format kTableDone("(' Table90 (interferogram as table)')");

constexpr int kMaxRows = kMaxInterferogramPoints - 1;  // the row that reaches it stops the run

}  // namespace

void interferogram_table(const std::string& table71, const std::string& table90, rec::Console& console) {
  std::vector<float> x(kMaxInterferogramPoints, 0.0f);
  std::vector<float> y(kMaxInterferogramPoints, 0.0f);
  int n = 0;
  {
    Table71Reader in(table71);
    float nu = 0.0f, target = 0.0f, other = 0.0f, all = 0.0f, difference = 0.0f;
    while (in.next({&nu, &target, &other, &all, &difference}) == rec::ReadStatus::ok) {
      x[static_cast<std::size_t>(n)] = all;
      y[static_cast<std::size_t>(n)] = all + difference;
      ++n;
      if (n >= kMaxRows) rec::stop(kInterferogramTooLong);
    }
  }

  const int len = interferogram_length(n);
  const std::span<float> xs(x.data(), static_cast<std::size_t>(len));
  const std::span<float> ys(y.data(), static_cast<std::size_t>(len));
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
