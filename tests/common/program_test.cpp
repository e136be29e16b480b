#include "common/program.hpp"

#include <gtest/gtest.h>

#include <new>
#include <sstream>
#include <stdexcept>

namespace {

TEST(RunProgram, EndOfRunLineAndExitStatus) {
  struct Case {
    int kind;  // 0 normal end, 1 stop, 2 file-layer error, 3 out of memory, 4 a report of two lines, 5 not std
    int status;
    std::string console;
  } cases[] = {
      {0, 0, "text\r\nStop - Program terminated.\r\n"},
      {1, 1, "text\r\n Wrong symbol for units of radiance (r or b)\r\n"},
      {2, 2, "text\r\n Cannot open file x: no such file\r\n"},
      {3, 3, "text\r\n Unexpected error, the run ends: std::bad_alloc\r\n"},
      {4, 3, "text\r\n Unexpected error, the run ends: first second\r\n"},
      {5, 3, "text\r\n Unexpected error, the run ends: an exception of unknown type\r\n"},
  };
  static const rec::Format kText("(' text')");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    std::ostringstream out;
    int status = rec::run_program(out, [&](rec::Console& console) {
      console.write(kText);
      if (c.kind == 1) rec::stop(" Wrong symbol for units of radiance (r or b)");
      if (c.kind == 2) rec::record_error(" Cannot open file x: no such file");
      if (c.kind == 3) throw std::bad_alloc();
      if (c.kind == 4) throw std::runtime_error("first\nsecond");
      if (c.kind == 5) throw 42;
    });
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(out.str(), c.console);
  }
}

}  // namespace
