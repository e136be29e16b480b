#include "tesk/linefind/target_lines.hpp"

#include <cmath>

#include "inputs/line_list.hpp"
#include "tesk/linefind/table_header.hpp"

namespace tesk {
namespace {

const rec::Format kColumnHeader("('frequency  e-prime  intensity')");
const rec::Format kRow("(1x,f9.4,1x,f7.1,1x,e11.5)");
const rec::Format kDone("(' Table72 (with target gas positions)')");

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

}  // namespace

void write_target_lines(const LineFindSettings& settings, const LineFindFiles& files, const TargetSamples& samples,
                        rec::Console& console) {
  rec::TextReader echo(files.echo);
  std::string first;
  const int nhead = read_header_count(echo, first);
  rec::TextWriter out(files.table72);
  write_header_line(out, first);
  copy_header_lines(echo, out, nhead - 1);
  write_blank_lines(out);
  out.write(kColumnHeader);

  inputs::LineList list(settings.line_list, settings.reclen, settings.nrec, letter_of(settings.dbtype));
  list.for_each_line(list.record_range(settings.vlo, settings.vhi, 0.0f), [&](const inputs::LineRecord& line) {
    if (!is_target(line, settings)) return;
    out.write(kRow, {line.position, line.lower_energy, peak_sensitivity(samples, line.position)});
  });
  out.close();
  echo.close();
  console.write(kDone);
}

}  // namespace tesk
