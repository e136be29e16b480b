#include "common/arguments.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

TEST(ProgramArguments, HelpVersionAndRefusal) {
  const rec::ProgramInfo info{"tesk", "0.1", "What it does.\n"};
  const std::string usage = "usage: tesk [--help | --version | --check-deck]   (run it in the directory that holds its deck)\n";
  struct Case {
    std::vector<const char*> argv;
    int status;  // -1: no answer, the run goes on
    std::string out, err;
  } cases[] = {
      {{"tesk"}, -1, "", ""},
      {{"tesk", "--help"}, 0, usage + "What it does.\n", ""},
      {{"tesk", "-h"}, 0, usage + "What it does.\n", ""},
      {{"tesk", "--version"}, 0, "tesk 0.1\n", ""},
      {{"tesk", "input-vorne"}, 1, "", "tesk: unknown argument \"input-vorne\"\n" + usage},
      {{"tesk", "--help", "x"}, 1, "", "tesk: unknown argument \"--help\"\n" + usage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argv.size() > 1 ? c.argv[1] : "(none)");
    std::ostringstream out, err;
    auto status = rec::handle_arguments(static_cast<int>(c.argv.size()), c.argv.data(), info, out, err);
    EXPECT_EQ(status.value_or(-1), c.status);
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(err.str(), c.err);
  }
}

}  // namespace
