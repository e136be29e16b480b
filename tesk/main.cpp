// The line-finding program: runs in the working directory on its deck
// `input-vorne`; exit status 0 normal end, 1 stop with a message, 2 error of
// the file and record layer, 3 anything unexpected.
#include <iostream>

#include "common/program.hpp"
#include "tesk/run/run.hpp"

int main() {
  std::ios::sync_with_stdio(false);
  return rec::run_program(std::cout, [](rec::Console& console) { tesk::run(console); });
}
