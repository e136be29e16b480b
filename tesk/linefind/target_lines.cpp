#include "tesk/linefind/target_lines.hpp"

#include <cmath>

#include "inputs/line_list.hpp"
#include "tesk/linefind/table_header.hpp"

namespace tesk {
namespace {

const rec::Format kColumnHeader("('frequency  e-prime  intensity')");
const rec::Format kRow("(1x,f9.4,1x,f7.1,1x,e11.5)");
const rec::Format kDone("(' Table72 (with target gas positions)')");
const rec::Format kText("(a)");

// Reach of the sensitivity search around a line, cm-1: the 32-bit 0.1 widened,
// so a sample exactly this far away counts on either side.
constexpr double kSensitivityReach = static_cast<double>(0.1f);

bool is_target(const inputs::LineRecord& line, const LineFindSettings& settings) {
  return line.gas == settings.gasno && (line.isotope == settings.isotope || settings.isotope == 0);
}

float peak_sensitivity(const TargetSamples& samples, double position) {
  float peak = 0.0f;
  for_each_sample_in(
      samples.wavenumber, samples.nsamp - 1, samples.ordered,
      [&](float w) { return static_cast<double>(w) - position >= -kSensitivityReach; },
      [&](float w) { return static_cast<double>(w) - position <= kSensitivityReach; },
      [&](int l) {
        if (samples.sensitivity(l) > peak) peak = samples.sensitivity(l);
      });
  return peak;
}

std::string lines_text(long long n) { return std::to_string(n) + (n == 1 ? " line" : " lines"); }

}  // namespace

std::string target_count_line(std::string_view gasname, int isotope, const TargetLineCount& count) {
  const std::size_t end = gasname.find(' ');
  std::string text = " " + lines_text(count.gas) + " of " + std::string(gasname.substr(0, end)) + " in the range";
  if (isotope != 0) text += ", " + std::to_string(count.isotope) + " of isotope " + std::to_string(isotope);
  return text;
}

void write_target_lines(const LineFindSettings& settings, const LineFindFiles& files, const TargetSamples& samples,
                        rec::Console& console) {
  rec::TextReader echo(files.echo);
  std::string first;
  read_header_line(echo, first);
  rec::TextWriter out(files.table72);
  // The first line is written before its count is checked, so a count
  // outside 1..46 leaves table72 holding that line alone.
  write_header_line(out, first);
  const int nhead = header_count(echo, first);
  copy_header_lines(echo, out, nhead - 1);
  write_blank_lines(out);
  out.write(kColumnHeader);

  inputs::LineList list(settings.line_list, settings.reclen, settings.nrec, letter_of(settings.dbtype));
  TargetLineCount count;
  list.for_each_line(list.record_range(settings.vlo, settings.vhi, 0.0f), [&](const inputs::LineRecord& line) {
    if (line.gas == settings.gasno) ++count.gas;
    if (!is_target(line, settings)) return;
    ++count.isotope;
    out.write(kRow, {line.position, line.lower_energy, peak_sensitivity(samples, line.position)});
  });
  out.close();
  echo.close();
  if (settings.reports_line_count) {
    console.write(kText, {std::string_view(target_count_line(settings.gasname, settings.isotope, count))});
  }
  console.write(kDone);
}

}  // namespace tesk
