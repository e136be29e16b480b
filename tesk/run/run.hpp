// Run control of the line-finding program: the banner, the input deck and the
// dispatch on the run mode. Everything the run knows lives in one RunState
// owned here and passed by reference to the subsystems.
#pragma once

#include "common/records.hpp"

namespace tesk {

// Runs the program in the working directory: reads `input-vorne`, writes
// `output` and the result tables. Throws rec::Stop for a wrong answer or an
// exceeded limit, rec::RecordError for an error of the file layer.
void run(rec::Console& console);

}  // namespace tesk
