// The line-finding program: builds the console, runs, and turns the way the
// run ended into the exit status (0 normal end, 1 stop with a message,
// 2 error of the file and record layer).
#include <iostream>

#include "common/records.hpp"
#include "tesk/run/run.hpp"

int main() {
  std::ios::sync_with_stdio(false);
  rec::Console console(std::cout);
  int status = 0;
  try {
    tesk::run(console);
    console.message("Stop - Program terminated.");
  } catch (const rec::Stop& s) {
    console.message(s.what());
    status = 1;
  } catch (const rec::RecordError& e) {
    console.message(e.what());
    status = 2;
  }
  console.finish();
  std::cout.flush();
  return status;
}
