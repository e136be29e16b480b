#include "tesk/linefind/ranking.hpp"

#include <cmath>
#include <string>
#include <vector>

#include "common/arrays.hpp"
#include "common/sort_keys.hpp"
#include "tesk/linefind/gas_label.hpp"
#include "tesk/linefind/table_header.hpp"

namespace tesk {
namespace {

const rec::Format kColumnHeader(
    "('name     cm-1     window     e-prime   intensity   interfer', ' intens-inter')");
const rec::Format kRatedRow("(a62)");
const rec::Format kRow("(a8,1x,f7.2,1x,f6.2,5x,f7.1,3(1x,e11.5))");
const rec::Format kDone("(' Table74 (lines sorted, best first)')");

// Width of a table73 row.
constexpr int kRatedWidth = 62;

// Rated lines as read from table73, 1-based by row; as many as it holds.
struct RatedLines {
  rec::Levels<double> wavenumber;      // cm-1
  rec::Levels<float> lower_energy;     // E'', cm-1
  rec::Levels<float> dependence;       // percent per K
  rec::Levels<float> sensitivity;
  rec::Levels<float> interference;
  rec::Levels<float> difference;       // sensitivity minus interference
  rec::Levels<double> key;
  rec::Levels<int> order;
  int nl = 0;
  explicit RatedLines(int n)
      : wavenumber(n), lower_energy(n), dependence(n), sensitivity(n), interference(n), difference(n), key(n),
        order(n), nl(n) {}
};

// One row of table73 as read.
struct RatedRow {
  double wavenumber = 0.0;
  float lower_energy = 0.0f, dependence = 0.0f, sensitivity = 0.0f, interference = 0.0f, difference = 0.0f;
};

// Ranking keys, larger is better; offsets turn "smallest first" criteria
// around. Single-precision arithmetic, as the values are single.
double sort_key(SortKey sortkey, const RatedLines& r, int n) {
  switch (sortkey) {
    case SortKey::lower_energy: return 100000.0f - r.lower_energy(n);
    case SortKey::temperature_dependence: return 10000.0f - std::fabs(r.dependence(n));
    case SortKey::interference: return r.interference(n);
    case SortKey::sensitivity_over_interference: return r.difference(n);
    case SortKey::sensitivity: break;
  }
  return r.sensitivity(n);
}

// Every row of table73, however many the range holds.
RatedLines read_rated_lines(rec::TextReader& in) {
  in.expect_rows(in.record_number() + 1, kRatedWidth);
  std::string text(kRatedWidth, ' ');
  std::vector<RatedRow> rows;
  while (in.read(kRatedRow, {&text}) == rec::ReadStatus::ok) {
    const rec::Where where{in.path(), in.record_number()};
    RatedRow row;
    if (rec::read_free_internal(text,
                                {&row.wavenumber, &row.lower_energy, &row.dependence, &row.sensitivity,
                                 &row.interference, &row.difference},
                                where) == rec::ReadStatus::end) {
      rec::record_error(" Row " + std::to_string(where.record) + " of " + in.path() +
                        " holds fewer than six values");
    }
    rows.push_back(row);
  }
  RatedLines r(static_cast<int>(rows.size()));
  for (int n = 1; n <= r.nl; ++n) {
    const RatedRow& row = rows[static_cast<std::size_t>(n - 1)];
    r.wavenumber(n) = row.wavenumber;
    r.lower_energy(n) = row.lower_energy;
    r.dependence(n) = row.dependence;
    r.sensitivity(n) = row.sensitivity;
    r.interference(n) = row.interference;
    r.difference(n) = row.difference;
    r.order(n) = n;
  }
  return r;
}

}  // namespace

void rank_lines(const LineFindSettings& settings, const LineFindFiles& files, rec::Console& console) {
  rec::TextReader in(files.table73);
  std::string first;
  const int nhead = read_header_count(in, first);
  rec::TextWriter out(files.table74);
  write_header_line(out, first);
  copy_header_lines(in, out, nhead + 1);
  std::string dropped;
  read_header_line(in, dropped);
  out.write(kColumnHeader);

  RatedLines r = read_rated_lines(in);
  in.close();
  for (int n = 1; n <= r.nl; ++n) r.key(n) = sort_key(settings.sortkey, r, n);
  const auto count = static_cast<std::size_t>(r.nl);
  rec::sort_keys_ascending(r.key.span().first(count), r.order.span().first(count));

  const std::string label = gas_label(settings.gasname, settings.isotope);
  for (int i = r.nl; i >= 1; --i) {
    const int n = r.order(i);
    if (!(r.sensitivity(n) > 0.0f)) continue;
    out.write(kRow, {std::string_view(label), r.wavenumber(n), settings.winstart, r.dependence(n),
                    r.sensitivity(n), r.interference(n), r.difference(n)});
  }
  out.close();
  console.write(kDone);
}

}  // namespace tesk
