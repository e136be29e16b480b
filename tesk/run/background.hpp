// Whether the blackbody behind the atmosphere outshines the air of the path:
// then a radiance spectrum shows the lines in absorption, and its most
// transparent points are its highest radiances, not its lowest.
#pragma once

#include <span>

#include "tesk/kernels/weighting_functions.hpp"
#include "tesk/run/deck.hpp"

namespace tesk {

// No layer of the program's model atmospheres (0 to 120 km) is this warm,
// K: at 120 km the thermosphere stays below about 400 K even at solar
// maximum, and the layers below are colder still. Only a background hotter
// than every layer can be said to outshine the path without knowing it.
inline constexpr float kWarmestModelAir = 400.0f;

// True for a radiance run (deck line 12 r) whose background temperature
// (line 16) lies above the warmest segment of the path `segments`: every
// line of the path then absorbs, whichever layer it forms in. Without the
// path (empty `segments`: a sort run that cannot read the atmosphere) the
// background must lie above kWarmestModelAir. False for transmission runs.
// No files, no console.
bool hot_background(const Deck& d, std::span<const Segment> segments);

}  // namespace tesk
