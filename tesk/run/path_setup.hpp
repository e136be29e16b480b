// Setup of a spectral run: the model atmosphere on its 80 layers, the air
// path through it, and the removal of the lowest layers the deck asks for.
#pragma once

#include "tesk/run/run_state.hpp"

namespace tesk {

inline constexpr std::string_view kTooManyLevels = " Increase nuber of altitude levels MLEV in TESK";
inline constexpr std::string_view kWrongLayersToRemove = " Wrong number of layers to remove";

// Stops (rec::Stop) with kWrongLayersToRemove unless 0 <= ndrop < nlev, the
// model's layers. No files, no console.
void check_layers_to_remove(int ndrop, int nlev);

// Fills state.atm and state.path from the deck. Throws rec::Stop for too many
// path segments, a tangent altitude above the atmosphere, a number of layers
// to remove that is negative or not below the number of layers, and the
// atmosphere's own messages; rec::RecordError for missing or unreadable
// atmosphere files.
void set_up_path(RunState& state);

}  // namespace tesk
