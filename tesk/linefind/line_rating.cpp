#include "tesk/linefind/line_rating.hpp"

#include <cmath>

#include "inputs/molecules.hpp"
#include "tesk/constants.hpp"
#include "tesk/linefind/table_header.hpp"
#include "tesk/partition/partition.hpp"
#include "tesk/partition/partition_table.hpp"

namespace tesk {
namespace {

const rec::Format kColumnHeader(
    "(' cm-1      e-prime rel-eprim intensity  interference',        ' intens-inter')");
const rec::Format kRow("(1x,f9.4,1x,f7.1,1x,f7.1,3(1x,e11.5))");
const rec::Format kDone("(' Table73 (with infos on spectral lines)')");

// Starting values of the other-gases extremes: any spectrum value lies below
// the first and, as transmission or radiance, not below the second.
constexpr float kLowestStart = 1.0E10f;
constexpr float kHighestStart = 0.0f;

// Characters of a table72 row, (1x,f9.4,1x,f7.1,1x,e11.5).
constexpr std::size_t kTargetRowWidth = 30;

// Temperature step of the dependence, K.
constexpr float kTempStep = 2.0f;

// Intensity at `temp` relative to 296 K, apart from factors that do not
// depend on temperature, in double precision.
double boltzmann_term(double position, double lower_energy, float temp) {
  const double t = temp;
  return (1.0 - std::exp(-kC2 * position / t)) * std::exp(-kC2 * lower_energy / t);
}

float interference(const TargetSamples& samples, double position, float width) {
  const double half = width / 2.0f;
  float lowest = kLowestStart;
  float highest = kHighestStart;
  for_each_sample_in(
      samples.wavenumber, samples.nsamp - 1, samples.ordered,
      [&](float w) { return static_cast<double>(w) - position > -half; },
      [&](float w) { return static_cast<double>(w) - position < half; },
      [&](int l) {
        const float v = samples.other_gases(l);
        if (v < lowest) lowest = v;
        if (v > highest) highest = v;
      });
  return highest - lowest;
}

}  // namespace

double temperature_dependence(int gasno, double position, double lower_energy, float temp) {
  const int k = inputs::partition_index(gasno);
  const bool has_ratio = k <= kPartitionMolecules;
  double a = boltzmann_term(position, lower_energy, temp);
  if (has_ratio) a = a * static_cast<double>(partition_ratio(k, temp));
  const float warmer = temp + kTempStep;
  float b = static_cast<float>(boltzmann_term(position, lower_energy, warmer));
  if (has_ratio) b = static_cast<float>(b * partition_ratio(k, warmer));
  return 100.0 * (static_cast<double>(b) - a) / (2.0 * a);
}

void rate_target_lines(const LineFindSettings& settings, const LineFindFiles& files, const TargetSamples& samples,
                       rec::Console& console) {
  rec::TextReader in(files.table72);
  std::string first;
  const int nhead = read_header_count(in, first);
  rec::TextWriter out(files.table73);
  write_header_line(out, first);
  copy_header_lines(in, out, nhead + 1);
  std::string dropped;
  read_header_line(in, dropped);
  out.write(kColumnHeader);

  in.expect_rows(in.record_number() + 1, kTargetRowWidth);
  double position = 0.0;
  double lower_energy = 0.0;
  float sensitivity = 0.0f;
  while (in.read_free({&position, &lower_energy, &sensitivity}) == rec::ReadStatus::ok) {
    const float spread = interference(samples, position, settings.interfw);
    const double rel = temperature_dependence(settings.gasno, position, lower_energy, settings.tsens);
    out.write(kRow, {position, lower_energy, rel, sensitivity, spread, sensitivity - spread});
  }
  in.close();
  out.close();
  console.write(kDone);
}

}  // namespace tesk
