#include "tesk/atmosphere/layers.hpp"

#include <cassert>
#include <span>

#include "common/stop.hpp"
#include "tesk/atmosphere/interpolate.hpp"

namespace tesk {
namespace {

std::span<const float> first(const rec::Levels<float>& v, int n) {
  return v.span().first(static_cast<std::size_t>(n));
}

}  // namespace

void build_layers(const PtProfile& pt, const VmrProfile& vp, Atmosphere& atm) {
  const int nlev = atm.nlev;
  assert(nlev >= 1 && nlev <= kMaxLevels);
  rec::Levels<float> grid(nlev + 1);  // km, layer boundaries
  for (int i = 1; i <= nlev + 1; ++i) grid(i) = static_cast<float>(i - 1);
  if (vp.nlev < 1 || !(grid(nlev + 1) < vp.alt(vp.nlev))) rec::stop(kMsgVmrNotHigh);

  const auto pt_alt = first(pt.alt, pt.nlev);
  const auto pt_neg_dens = first(pt.neg_dens, pt.nlev);
  rec::Levels<float> dens(nlev + 1);  // density at each boundary
  for (int i = 1; i <= nlev + 1; ++i) {
    dens(i) = interpolate_profile(pt_alt, first(pt.dens, pt.nlev), grid(i));
  }
  // The layer is represented where the density equals its mean, so that a
  // column built from it holds the layer's air. Density falls with altitude,
  // so its negative serves as a rising abscissa.
  for (int i = 1; i <= nlev; ++i) {
    const float mean = (dens(i) + dens(i + 1)) / 2.0f;
    atm.alt(i) = interpolate_profile(pt_neg_dens, pt_alt, -mean);
    atm.temp(i) = interpolate_profile(pt_neg_dens, first(pt.temp, pt.nlev), -mean);
    atm.pres(i) = interpolate_profile(pt_neg_dens, first(pt.pres, pt.nlev), -mean);
  }

  atm.ngas = vp.ngas;
  const auto vmr_alt = first(vp.alt, vp.nlev);
  for (int igas = 1; igas <= vp.ngas; ++igas) {
    const auto profile = vp.vmr.row(igas).first(static_cast<std::size_t>(vp.nlev));
    for (int i = 1; i <= nlev; ++i) atm.vmr(igas, i) = interpolate_profile(vmr_alt, profile, atm.alt(i));
  }

  // Loschmidt's number density scaled to 273.16 K and 1013.25 hPa, per cm2
  // and per km of path: density x vmr x path (km) is a column in molecules cm-2.
  for (int i = 1; i <= nlev; ++i) {
    atm.column(i) = atm.pres(i) * 7.3411755e26f / (atm.temp(i) * 1013.25f);
  }
}

}  // namespace tesk
