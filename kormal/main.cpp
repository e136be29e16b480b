// The interfering-gas program: runs in the working directory on its deck
// `input-kormal`; exit status 0 normal end, 1 stop with a message, 2 error of
// the file and record layer.
#include <iostream>

#include "common/program.hpp"
#include "kormal/run.hpp"

int main() {
  std::ios::sync_with_stdio(false);
  return rec::run_program(std::cout, [](rec::Console& console) { kormal::run(console, std::cin); });
}
