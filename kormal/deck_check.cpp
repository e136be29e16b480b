#include "kormal/deck_check.hpp"

#include "kormal/banner.hpp"
#include "kormal/deck.hpp"

namespace kormal {

void check_deck_run(rec::Console& console) {
  write_banner(console);
  read_deck();
}

}  // namespace kormal
