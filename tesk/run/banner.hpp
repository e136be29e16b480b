// The start-up banner of the line-finding program.
#pragma once

#include "common/records.hpp"

namespace tesk {

// Writes the banner and the empty line after it; the memory line follows once
// the deck is read (memory_estimate.hpp).
void write_banner(rec::Console& console);

}  // namespace tesk
