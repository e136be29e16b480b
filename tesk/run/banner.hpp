// The start-up banner and memory line of the line-finding program.
#pragma once

#include "common/records.hpp"

namespace tesk {

// Writes the banner, the memory line and the empty lines around them.
void write_banner(rec::Console& console);

}  // namespace tesk
