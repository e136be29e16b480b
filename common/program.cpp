#include "common/program.hpp"

#include <ostream>

namespace rec {

int run_program(std::ostream& out, const std::function<void(Console&)>& body) {
  Console console(out);
  int status = 0;
  try {
    body(console);
    console.message("Stop - Program terminated.");
  } catch (const Stop& s) {
    console.message(s.what());
    status = 1;
  } catch (const RecordError& e) {
    console.message(e.what());
    status = 2;
  }
  console.finish();
  out.flush();
  return status;
}

}  // namespace rec
