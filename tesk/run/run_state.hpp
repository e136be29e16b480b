// The state of one run of the line-finding program: the deck's answers, the
// names derived from them, the model atmosphere and the air path. Created
// once by run control and passed by reference to every step.
#pragma once

#include "common/arrays.hpp"
#include "tesk/atmosphere/atmosphere.hpp"
#include "tesk/limits.hpp"
#include "tesk/run/deck.hpp"
#include "tesk/run/file_names.hpp"

namespace tesk {

// The air path through the model layers.
struct AirPath {
  rec::Levels<float> pathfac{kMaxLevels};  // slant factor (ground) or km of path (limb) per layer
  rec::Levels<int> levorder{kMaxLevels};   // layer of each segment along the line of sight
  int nseg = 0;                            // path segments
  int tangent_layer = 0;                   // limb path: the lowest layer it reaches
  int nlayers = 0;                         // layers whose optical depths the line pass computes
};

struct RunState {
  Deck deck;
  FileNames names;
  Atmosphere atm;
  AirPath path;
};

}  // namespace tesk
