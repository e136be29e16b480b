#include "tesk/tables/spectrum_tables.hpp"

#include <cmath>

namespace tesk {
namespace {

const rec::Format kThreeColumnsCount("('3 4')");
const rec::Format kDifferenceCount("('3 5')");
const rec::Format kRadianceUnits("('Rad. in: mW m-2 sr-1 (cm-1)-1')");
const rec::Format kTransmissionThree("('Rad. in transmission ')");
const rec::Format kTransmissionDifference("('Rad. in transmission')");
const rec::Format kThreeColumnsHeader("('  cm       target    ',                 '  all-target    all-gases')");
const rec::Format kDifferenceHeader("('  cm-1      target     ',               ' all-target   all-gases  diff-10%')");
const rec::Format kThreeColumnsRow("(f10.4,1x,3(e11.5,1x))");
const rec::Format kDifferenceRow("(f10.4,1x,4(e11.5,1x))");

const rec::Format kProfileCount("('3 2')");
const rec::Format kProfileTitle("(' vmr-profile of target gas')");
const rec::Format kProfileHeader("(' vmr         lg(vmr)       altitude ')");
const rec::Format kProfileRow("(1pe9.2,1x,1pe9.2,1x,f5.1)");
const rec::Format kTable70Done("(' Table70 (vmr-profile of target gas)')");
const rec::Format kTable71Done("(' Table71 (spectrum as table)')");

constexpr float kLogOfZero = -30.0f;

}  // namespace

void write_spectrum_rows(rec::TextWriter& table71, bool first_interval, Study study, Quantity quantity,
                         const Spectra& spec, const IntervalGrid& g) {
  // Study i provides the five-column rows that its interferogram reads.
  const bool difference = uses_scaled_target(study);
  if (first_interval) {
    table71.write(difference ? kDifferenceCount : kThreeColumnsCount);
    if (quantity == Quantity::radiance) {
      table71.write(kRadianceUnits);
    } else {
      table71.write(difference ? kTransmissionDifference : kTransmissionThree);
    }
    table71.write(difference ? kDifferenceHeader : kThreeColumnsHeader);
  }
  const rec::Format& row = difference ? kDifferenceRow : kThreeColumnsRow;
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
  table70.write(kProfileCount);
  table70.write(kProfileTitle);
  table70.write(kProfileHeader);
  for (std::size_t k = 0; k < target_vmr.size(); ++k) {
    const float v = target_vmr[k];
    const float lg = v > 0.0f ? std::log10(v) : kLogOfZero;
    table70.write(kProfileRow, {v, lg, altitude[k]});
  }
}

void close_spectrum_tables(rec::TextWriter& table70, rec::TextWriter& table71, rec::Console& console) {
  table70.close();
  table71.close();
  console.write(kTable70Done);
  console.write(kTable71Done);
}

}  // namespace tesk
