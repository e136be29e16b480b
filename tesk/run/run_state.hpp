// The state of one run of the line-finding program: the deck's answers and
// the names derived from them. Created once by run control and passed by
// reference to every step.
#pragma once

#include "tesk/run/deck.hpp"
#include "tesk/run/file_names.hpp"

namespace tesk {

struct RunState {
  Deck deck;
  FileNames names;
};

}  // namespace tesk
