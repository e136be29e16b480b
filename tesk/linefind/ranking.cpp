#include "tesk/linefind/ranking.hpp"

#include <cmath>

#include "common/arrays.hpp"
#include "common/sort_keys.hpp"
#include "tesk/limits.hpp"
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

// Rated lines as read from table73, 1-based by row.
struct RatedLines {
  rec::Levels<double> wavenumber{kMaxLines};      // cm-1
  rec::Levels<float> lower_energy{kMaxLines};     // E'', cm-1
  rec::Levels<float> dependence{kMaxLines};       // percent per K
  rec::Levels<float> sensitivity{kMaxLines};
  rec::Levels<float> interference{kMaxLines};
  rec::Levels<float> difference{kMaxLines};       // sensitivity minus interference
  rec::Levels<double> key{kMaxLines};
  rec::Levels<int> order{kMaxLines};
  int nl = 0;
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

void read_rated_lines(rec::TextReader& in, RatedLines& r) {
  in.expect_rows(in.record_number() + 1, kRatedWidth);
  std::string text(kRatedWidth, ' ');
  int n = 1;
  while (in.read(kRatedRow, {&text}) == rec::ReadStatus::ok) {
    const rec::Where where{in.path(), in.record_number()};
    if (rec::read_free_internal(text,
                                {&r.wavenumber(n), &r.lower_energy(n), &r.dependence(n), &r.sensitivity(n),
                                 &r.interference(n), &r.difference(n)},
                                where) == rec::ReadStatus::end) {
      rec::record_error(" Row " + std::to_string(where.record) + " of " + in.path() +
                        " holds fewer than six values");
    }
    r.order(n) = n;
    ++n;
    if (n > kMaxLines) rec::stop(kTooManyLines);
  }
  r.nl = n - 1;
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

  RatedLines r;
  read_rated_lines(in, r);
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
