#include "tesk/kernels/spectrum_tables.hpp"

#include <cmath>

namespace tesk {
namespace {

constexpr std::string_view kThreeColumnsCount = "('3 4')";
constexpr std::string_view kDifferenceCount = "('3 5')";
constexpr std::string_view kRadianceUnits = "('Rad. in: mW m-2 sr-1 (cm-1)-1')";
constexpr std::string_view kTransmissionThree = "('Rad. in transmission ')";
constexpr std::string_view kTransmissionDifference = "('Rad. in transmission')";
constexpr std::string_view kThreeColumnsHeader = "('  cm       target    ',                 '  all-target    all-gases')";
constexpr std::string_view kDifferenceHeader = "('  cm-1      target     ',               ' all-target   all-gases  diff-10%')";
constexpr std::string_view kThreeColumnsRow = "(f10.4,1x,3(e11.5,1x))";
constexpr std::string_view kDifferenceRow = "(f10.4,1x,4(e11.5,1x))";

constexpr std::string_view kProfileCount = "('3 2')";
constexpr std::string_view kProfileTitle = "(' vmr-profile of target gas')";
constexpr std::string_view kProfileHeader = "(' vmr         lg(vmr)       altitude ')";
constexpr std::string_view kProfileRow = "(1pe9.2,1x,1pe9.2,1x,f5.1)";
constexpr std::string_view kTable70Done = "(' Table70 (vmr-profile of target gas)')";
constexpr std::string_view kTable71Done = "(' Table71 (spectrum as table)')";

constexpr float kLogOfZero = -30.0f;

}  // namespace

void write_spectrum_rows(rec::TextWriter& table71, bool first_interval, Study study, char transrad,
                         const Spectra& spec, const IntervalGrid& g) {
  // Study i provides the five-column rows that its interferogram reads.
  const bool difference = uses_scaled_target(study);
  if (first_interval) {
    table71.write(rec::Format(difference ? kDifferenceCount : kThreeColumnsCount));
    if (transrad == 'r') {
      table71.write(rec::Format(kRadianceUnits));
    } else {
      table71.write(rec::Format(difference ? kTransmissionDifference : kTransmissionThree));
    }
    table71.write(rec::Format(difference ? kDifferenceHeader : kThreeColumnsHeader));
  }
  const rec::Format row(difference ? kDifferenceRow : kThreeColumnsRow);
  for (int j = 0; j <= g.npts; ++j) {
    const float nu = g.nu(j);
    if (difference) {
      table71.write(row, {nu, spec(kTargetClass, j), spec(kOtherClass, j), spec(kAllClass, j),
                          spec(kAllClass, j) - spec(kScaledClass, j)});
    } else {
      table71.write(row, {nu, spec(kTargetClass, j), spec(kOtherClass, j), spec(kAllClass, j)});
    }
  }
}

void write_profile_table(rec::TextWriter& table70, std::span<const float> target_vmr,
                         std::span<const float> altitude) {
  table70.write(rec::Format(kProfileCount));
  table70.write(rec::Format(kProfileTitle));
  table70.write(rec::Format(kProfileHeader));
  const rec::Format row(kProfileRow);
  for (std::size_t k = 0; k < target_vmr.size(); ++k) {
    const float v = target_vmr[k];
    const float lg = v > 0.0f ? std::log10(v) : kLogOfZero;
    table70.write(row, {v, lg, altitude[k]});
  }
}

void close_spectrum_tables(rec::TextWriter& table70, rec::TextWriter& table71, rec::Console& console) {
  table70.close();
  table71.close();
  console.write(rec::Format(kTable70Done));
  console.write(rec::Format(kTable71Done));
}

}  // namespace tesk
