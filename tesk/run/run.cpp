#include "tesk/run/run.hpp"

#include "tesk/run/banner.hpp"

namespace tesk {

void run(rec::Console& console) { write_banner(console); }

}  // namespace tesk
