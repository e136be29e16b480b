#include "tesk/linefind/window_merging.hpp"

#include <cmath>
#include <utility>
#include <vector>

#include "common/arrays.hpp"
#include "tesk/linefind/gas_label.hpp"
#include "tesk/linefind/table_header.hpp"

namespace tesk {
namespace {

const rec::Format kTitle("(a25)");
const rec::Format kOptimisedRow("(9x,f7.2,1x,f6.2,5x,f7.1)");
const rec::Format kRow("(a8,1x,f7.2,1x,f6.2,5x,f7.1)");
const rec::Format kDone("(' Table76 (overlapping m-windows combined) ')");
const rec::Format kText("(a)");

// Characters of a table75 row: a table74 row rewritten as 103 characters.
constexpr std::size_t kOptimisedWidth = 103;

// Windows in ranking order, 1-based; a centre of 0 marks a window that has
// been absorbed into another or deleted.
struct WindowList {
  rec::Levels<float> centre;  // cm-1
  rec::Levels<float> width;   // cm-1
  int n = 0;
  explicit WindowList(int capacity) : centre(capacity), width(capacity), n(capacity) {}
};

// The windows of table75 that the temperature-dependence limit removed, and
// the smallest dependence among them (% per K).
struct Removed {
  int count = 0;
  float smallest = 0.0f;
};

// Reads the windows of table75 that pass the temperature-dependence limit,
// at most `maxwin` of them, however many that is, and counts those it removed.
// Throws rec::RecordError for a last row cut short.
WindowList read_windows(rec::TextReader& in, int maxwin, float tsenslim, Removed& removed) {
  in.expect_rows(in.record_number() + 1, kOptimisedWidth);
  std::vector<std::pair<float, float>> kept;  // centre and width, cm-1
  while (static_cast<long long>(kept.size()) < maxwin) {
    float centre = 0.0f;
    float width = 0.0f;
    float dependence = 0.0f;
    if (in.read(kOptimisedRow, {&centre, &width, &dependence}) == rec::ReadStatus::end) break;
    if (dependence > tsenslim) {
      if (removed.count == 0 || dependence < removed.smallest) removed.smallest = dependence;
      ++removed.count;
      continue;
    }
    kept.emplace_back(centre, width);
  }
  WindowList w(static_cast<int>(kept.size()));
  for (int k = 1; k <= w.n; ++k) {
    w.centre(k) = kept[static_cast<std::size_t>(k - 1)].first;
    w.width(k) = kept[static_cast<std::size_t>(k - 1)].second;
  }
  return w;
}

// A real as the free-form output writes it: its digits, trailing zeros dropped.
std::string real_text(float value) {
  const std::string text = rec::encode_free({value});
  return text.substr(text.find_first_not_of(' '));
}

void delete_window(WindowList& w, int j) {
  w.centre(j) = 0.0f;
  w.width(j) = 0.0f;
}

// One pass, best window first: window i absorbs each later window j that
// overlaps it, by three tests made one after the other on window i as the
// previous test left it (j above, equal centres, j below).
void merge_windows(WindowList& w, float maxwidth) {
  for (int i = 1; i <= w.n; ++i) {
    if (w.centre(i) == 0.0f) continue;
    for (int j = i + 1; j <= w.n; ++j) {
      if (w.centre(j) == 0.0f) continue;
      float& ci = w.centre(i);
      float& wi = w.width(i);
      const float cj = w.centre(j);
      const float wj = w.width(j);
      if (!(std::fabs(ci - cj) < (wi + wj) / 2.0f)) continue;
      if (ci < cj) {
        const float lower = ci - wi / 2.0f;
        const float upper = cj + wj / 2.0f;
        if (upper - lower > maxwidth) continue;  // too wide: window j stays
        wi = upper - lower;
        ci = (lower + upper) / 2.0f;
      }
      if (ci == cj) wi = std::fmax(wi, wj);
      if (ci > cj) {
        const float lower = cj - wj / 2.0f;
        const float upper = ci + wi / 2.0f;
        if (upper - lower > maxwidth) continue;  // too wide: window j stays
        wi = upper - lower;
        ci = (lower + upper) / 2.0f;
      }
      delete_window(w, j);
    }
  }
}

// Keeps windows at least the sum of their widths apart, the better one of a
// pair surviving.
void thin_windows(WindowList& w) {
  for (int i = 1; i <= w.n; ++i) {
    if (w.centre(i) == 0.0f) continue;
    for (int j = i + 1; j <= w.n; ++j) {
      if (w.centre(j) == 0.0f) continue;
      if (std::fabs(w.centre(i) - w.centre(j)) / 2.0f < (w.width(i) + w.width(j)) / 2.0f) delete_window(w, j);
    }
  }
}

}  // namespace

void combine_windows(const LineFindSettings& settings, const LineFindFiles& files, rec::Console& console) {
  rec::TextReader in(files.table75);
  std::string line;
  const int nhead = read_header_count(in, line);
  for (int i = 1; i <= nhead + 1; ++i) read_header_line(in, line);
  read_header_line(in, line);
  rec::TextWriter out(files.table76);
  out.write(kTitle, {std::string_view(line)});

  Removed removed;
  WindowList w = read_windows(in, settings.maxwin, settings.tsenslim, removed);
  in.close();
  merge_windows(w, settings.maxwidth);
  thin_windows(w);

  const std::string label = gas_label(settings.gasname, settings.isotope);
  for (int i = 1; i <= w.n; ++i) {
    if (w.centre(i) != 0.0f) out.write(kRow, {std::string_view(label), w.centre(i), w.width(i)});
  }
  out.close();
  if (w.n == 0 && removed.count > 0) {
    // Every ranked line was too sensitive to temperature: say so, with the
    // numbers that let the limit be chosen anew.
    const std::string text = " No microwindows: the temperature limit of " + real_text(settings.tsenslim) +
                             " %/K (deck line 37) removed all " + std::to_string(removed.count) +
                             " windows of table75, whose smallest dependence is " + real_text(removed.smallest) +
                             " %/K";
    console.write(kText, {std::string_view(text)});
  }
  console.write(kDone);
}

}  // namespace tesk
