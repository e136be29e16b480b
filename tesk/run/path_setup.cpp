#include "tesk/run/path_setup.hpp"

#include <algorithm>
#include <string>

#include "tesk/engine/air_path.hpp"

namespace tesk {
namespace {

// Moves every layer quantity down by `ndrop` layers, so that layer l holds
// what layer l + ndrop held; the layers at the top keep their old values and
// are no longer part of the path.
void drop_lowest_layers(Atmosphere& atm, AirPath& path, int ndrop, int nkeep) {
  for (int l = 1; l <= nkeep; ++l) {
    atm.temp(l) = atm.temp(l + ndrop);
    atm.pres(l) = atm.pres(l + ndrop);
    atm.alt(l) = atm.alt(l + ndrop);
    atm.column(l) = atm.column(l + ndrop);
    path.pathfac(l) = path.pathfac(l + ndrop);
    for (int g = 1; g <= atm.ngas; ++g) atm.vmr(g, l) = atm.vmr(g, l + ndrop);
  }
}

}  // namespace

void check_layers_to_remove(int ndrop, int nlev) {
  if (ndrop < 0 || ndrop >= nlev) rec::stop(kWrongLayersToRemove);
}

void set_up_path(RunState& state) {
  const Deck& d = state.deck;
  Atmosphere& atm = state.atm;
  AirPath& path = state.path;
  read_atmosphere(kModelLayers, d.gasno, letter_of(d.model), d.target_scale, d.inpath, atm);
  const int nlev = atm.nlev;

  if (d.geom == Geometry::ground) {
    ground_airmass(d.geomval, atm.alt, nlev, path.pathfac);
  } else {
    path.tangent_layer = limb_path_lengths(d.geomval, atm.alt, nlev, path.pathfac);
  }
  path.nseg = path_order(nlev, path.tangent_layer, d.geom, path.levorder);
  if (path.nseg > kMaxLevels) {
    rec::stop(kTooManyLevels, " The path crosses " + std::to_string(path.nseg) + " layer segments; at most " +
                                  std::to_string(kMaxLevels) + " are allowed: raise the tangent altitude (line 26).");
  }

  check_layers_to_remove(d.ndrop, nlev);
  const int nkeep = nlev - d.ndrop;
  if (d.ndrop != 0) {
    drop_lowest_layers(atm, path, d.ndrop, nkeep);
    if (d.geom == Geometry::ground) {
      path.nseg -= d.ndrop;
    } else {
      // The limb path is rebuilt on the layers that remain.
      path.tangent_layer = std::max(1, path.tangent_layer - d.ndrop);
      path.nseg = path_order(nkeep, path.tangent_layer, d.geom, path.levorder);
    }
  }
  // A ground path's segments are its layers; a limb path crosses the layers
  // 1..nkeep, each above the tangent twice.
  path.nlayers = d.geom == Geometry::ground ? path.nseg : nkeep;
}

}  // namespace tesk
