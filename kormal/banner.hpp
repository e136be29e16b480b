// The start-up banner of the interfering-gas program.
#pragma once

#include "common/records.hpp"

namespace kormal {

// Title, credits, version and the lines about errors, on the console.
void write_banner(rec::Console& console);

}  // namespace kormal
