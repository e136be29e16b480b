// Fuzz target: the settings file `input-plan` of the information step. A
// file the reader takes must give settings whose echo lines, read again as
// a file, give the same settings: the echo is a valid input-plan.
#include <string>
#include <vector>

#include "fuzz_support.hpp"
#include "tesk/run/plan_settings.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::WorkDir& dir = fuzzing::WorkDir::get();
  const std::string path = dir.write("input-plan", fuzzing::bytes(data, size));
  fuzzing::expect_clean_end([&] {
    const std::vector<std::string> lines = tesk::plan_settings_lines(tesk::read_plan_settings(path));
    std::string again;
    for (const std::string& line : lines) again += line + "\n";
    const std::string echo_path = dir.write("input-plan-echo", again);
    if (tesk::plan_settings_lines(tesk::read_plan_settings(echo_path)) != lines) std::abort();
  });
  return 0;
}
