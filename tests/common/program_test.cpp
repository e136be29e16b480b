#include "common/program.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(RunProgram, EndOfRunLineAndExitStatus) {
  struct Case {
    int kind;  // 0 normal end, 1 stop, 2 file-layer error
    int status;
    std::string console;
  } cases[] = {
      {0, 0, "text\r\nStop - Program terminated.\r\n"},
      {1, 1, "text\r\n Wrong symbol for units of radiance (r or b)\r\n"},
      {2, 2, "text\r\n Cannot open file x: no such file\r\n"},
  };
  static const rec::Format kText("(' text')");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    std::ostringstream out;
    int status = rec::run_program(out, [&](rec::Console& console) {
      console.write(kText);
      if (c.kind == 1) rec::stop(" Wrong symbol for units of radiance (r or b)");
      if (c.kind == 2) rec::record_error(" Cannot open file x: no such file");
    });
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(out.str(), c.console);
  }
}

}  // namespace
