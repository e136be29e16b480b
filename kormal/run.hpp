// Run control of the interfering-gas program: banner, deck, files, and the
// loop over the rows of the window table, each analysed and reported before
// the next is read.
#pragma once

#include <iosfwd>

#include "common/records.hpp"

namespace kormal {

// Runs the program in the working directory on its deck `input-kormal`.
// `keyboard` answers the pause after each window (one line each; at its end
// the run goes on without waiting). Throws rec::Stop for a wrong answer or an
// exceeded limit, rec::RecordError for an error of the file layer.
void run(rec::Console& console, std::istream& keyboard);

}  // namespace kormal
