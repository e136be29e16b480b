#include "tesk/linefind/window_optimisation.hpp"

#include "tesk/linefind/samples.hpp"
#include "tesk/linefind/table_header.hpp"

namespace tesk {
namespace {

const rec::Format kRankedRow("(a103)");
const rec::Format kPosition("(f7.2,1x,f6.2)");
const rec::Format kDone("(' Table75 (optimum window size determined)')");

// A table74 row is read into a buffer this wide; kRankedRow reads and writes
// its first 103 characters.
constexpr int kRowBuffer = 200;
// Characters of a table74 row, (a8,1x,f7.2,1x,f6.2,5x,f7.1,3(1x,e11.5)).
constexpr std::size_t kRankedWidth = 71;
// Columns 10 to 16 hold the line position, 10 to 23 position and width.
constexpr std::size_t kPositionColumn = 9;
constexpr std::size_t kPositionWidth = 7;
constexpr std::size_t kWindowWidth = 14;

// Radiance values at or above this are not spectrum values.
constexpr float kRadianceCeiling = 1.0E24f;

// Where the clearest air shows in the all-gases spectrum. Transmission, and
// radiance in front of a background that outshines the path (lines in
// absorption), are highest there; the radiance of an emission run (a cold
// background, lines in emission) is lowest there.
enum class Clearest { lowest_radiance, highest_transmission, highest_radiance };

Clearest clearest_point(const LineFindSettings& settings) {
  if (settings.transrad == Quantity::transmission) return Clearest::highest_transmission;
  return settings.hot_background ? Clearest::highest_radiance : Clearest::lowest_radiance;
}

// The most transparent sample of one part of the window, or `edge` unchanged.
template <class NotBelow, class NotAbove>
float transparent_edge(const WindowSamples& s, Clearest clearest, float edge, NotBelow not_below,
                       NotAbove not_above) {
  if (clearest == Clearest::lowest_radiance) {
    float lowest = kRadianceCeiling;
    for_each_sample_in(s.wavenumber, s.np, s.ordered, not_below, not_above, [&](int l) {
      if (s.all_gases(l) < lowest) {
        lowest = s.all_gases(l);
        edge = s.wavenumber(l);
      }
    });
  } else {
    const bool radiance = clearest == Clearest::highest_radiance;
    float highest = 0.0f;
    for_each_sample_in(s.wavenumber, s.np, s.ordered, not_below, not_above, [&](int l) {
      if (s.all_gases(l) > highest && (!radiance || s.all_gases(l) < kRadianceCeiling)) {
        highest = s.all_gases(l);
        edge = s.wavenumber(l);
      }
    });
  }
  return edge;
}

// Edges of the window of a line, cm-1.
struct WindowEdges {
  float left = 0.0f;
  float right = 0.0f;
};

WindowEdges optimum_window(const WindowSamples& samples, double position, float winstart, float wincentre,
                           Clearest clearest) {
  const double half = winstart / 2.0f;
  const double centre = wincentre;
  const double outer_left = position - half;
  const double inner_left = position - centre;
  const double inner_right = position + centre;
  const double outer_right = position + half;
  WindowEdges e;
  e.left = transparent_edge(
      samples, clearest, static_cast<float>(outer_left),
      [&](float w) { return static_cast<double>(w) >= outer_left; },
      [&](float w) { return static_cast<double>(w) <= inner_left; });
  e.right = transparent_edge(
      samples, clearest, static_cast<float>(outer_right),
      [&](float w) { return static_cast<double>(w) >= inner_right; },
      [&](float w) { return static_cast<double>(w) <= outer_right; });
  return e;
}

}  // namespace

void optimise_windows(const LineFindSettings& settings, const LineFindFiles& files, const WindowSamples& samples,
                      rec::Console& console) {
  rec::TextReader in(files.table74);
  std::string first;
  const int nhead = read_header_count(in, first);
  rec::TextWriter out(files.table75);
  write_header_line(out, first);
  copy_header_lines(in, out, nhead + 2);

  in.expect_rows(in.record_number() + 1, kRankedWidth);
  std::string buffer(kRowBuffer, ' ');
  std::string field(kWindowWidth, ' ');
  while (in.read(kRankedRow, {&buffer}) == rec::ReadStatus::ok) {
    double position = 0.0;
    const rec::Where where{in.path(), in.record_number(), static_cast<int>(kPositionColumn) + 1};
    if (rec::read_free_internal(std::string_view(buffer).substr(kPositionColumn, kPositionWidth), {&position},
                                where) == rec::ReadStatus::end) {
      rec::record_error(" Row " + std::to_string(where.record) + " of " + in.path() +
                        " has no line position in columns 10 to 16");
    }
    const WindowEdges e = optimum_window(samples, position, settings.winstart, settings.wincentre,
                                          clearest_point(settings));
    rec::write_internal(field, kPosition, {(e.left + e.right) / 2.0f, e.right - e.left});
    buffer.replace(kPositionColumn, kWindowWidth, field);
    out.write(kRankedRow, {std::string_view(buffer)});
  }
  in.close();
  out.close();
  console.write(kDone);
}

}  // namespace tesk
