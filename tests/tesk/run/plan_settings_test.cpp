// The settings file of the information step: what each entry sets, what
// the defaults are without the file, and the one-line refusal of each fault.
#include "tesk/run/plan_settings.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/stop.hpp"
#include "program_run.hpp"

namespace {

using testing_support::WorkDir;

constexpr const char* kKeys =
    "the keys are apriori, apriori_percent, correlation_length, correlation_shape, interferer_error, "
    "temperature_error, windows, select_by, stop_fraction";

tesk::PlanSettings read_text(const std::string& text) {
  WorkDir dir;
  dir.write("input-plan", text);
  return tesk::read_plan_settings((dir.path() / "input-plan").string());
}

TEST(PlanSettings, NoFileGivesTheDefaults) {
  WorkDir dir;
  const tesk::PlanSettings p = tesk::read_plan_settings((dir.path() / "input-plan").string());
  EXPECT_FALSE(p.from_file);
  EXPECT_EQ(tesk::plan_settings_lines(p),
            (std::vector<std::string>{"apriori = absolute", "apriori_percent = 50", "correlation_length = 0",
                                      "correlation_shape = exponential", "interferer_error = 5",
                                      "temperature_error = 2", "windows = 10", "select_by = error",
                                      "stop_fraction = 0.01"}));
}

TEST(PlanSettings, EveryKeyWithCommentsBlanksAndAMark) {
  const tesk::PlanSettings p = read_text(
      "\xEF\xBB\xBF# settings of the information step\r\n"
      "\n"
      "apriori=percent   # of the profile\n"
      "  apriori_percent =  12.5\t\n"
      "correlation_length = 4e0\n"
      "correlation_shape = gaussian\n"
      "interferer_error = +0\n"
      "temperature_error = .25\n");
  EXPECT_TRUE(p.from_file);
  EXPECT_EQ(p.apriori, tesk::AprioriKind::percent);
  EXPECT_EQ(p.apriori_percent, 12.5f);
  EXPECT_EQ(p.correlation_km, 4.0f);
  EXPECT_EQ(p.correlation, tesk::CorrelationShape::gaussian);
  EXPECT_EQ(p.interferer_percent, 0.0f);
  EXPECT_EQ(p.temperature_kelvin, 0.25f);
  EXPECT_EQ(tesk::plan_settings_lines(p)[4], "interferer_error = 0");
  // An empty file and one of comments only hold the defaults, from the file.
  const tesk::PlanSettings empty = read_text("# nothing set\n\n");
  EXPECT_TRUE(empty.from_file);
  EXPECT_EQ(tesk::plan_settings_lines(empty), tesk::plan_settings_lines(tesk::PlanSettings{}));
}

TEST(PlanSettings, EachFaultNamesItsLine) {
  struct Case {
    std::string text;
    std::string message;
  } cases[] = {
      {"# first\naprior = percent\n", " Wrong entry in line 2 of input-plan: unknown key \"aprior\"; " + std::string(kKeys)},
      {"Apriori = percent\n", " Wrong entry in line 1 of input-plan: unknown key \"Apriori\"; " + std::string(kKeys)},
      {"= 5\n", " Wrong entry in line 1 of input-plan: unknown key \"\"; " + std::string(kKeys)},
      {"\n\napriori percent\n", " Wrong entry in line 3 of input-plan: no \"=\" between a key and its value, found "
                                "\"apriori percent\""},
      {"apriori = percent\n#\napriori = absolute\n",
       " Wrong entry in line 3 of input-plan: key apriori is given again (first in line 1)"},
      {"apriori = Percent\n",
       " Wrong entry in line 1 of input-plan: apriori must be absolute or percent, found \"Percent\""},
      {"correlation_shape = box\n",
       " Wrong entry in line 1 of input-plan: correlation_shape must be exponential or gaussian, found \"box\""},
      {"apriori_percent = 0\n",
       " Wrong entry in line 1 of input-plan: apriori_percent must be a number above 0, found \"0\""},
      {"apriori_percent = nan\n",
       " Wrong entry in line 1 of input-plan: apriori_percent must be a number above 0, found \"nan\""},
      {"correlation_length = -1\n",
       " Wrong entry in line 1 of input-plan: correlation_length must be a number of 0 or more (km), found \"-1\""},
      {"interferer_error = inf\n",
       " Wrong entry in line 1 of input-plan: interferer_error must be a number of 0 or more (%), found \"inf\""},
      {"temperature_error = 1e39\n",
       " Wrong entry in line 1 of input-plan: temperature_error must be a number of 0 or more (K), found \"1e39\""},
      {"temperature_error = 2 K\n",
       " Wrong entry in line 1 of input-plan: temperature_error must be a number of 0 or more (K), found \"2 K\""},
      {"temperature_error = ++2\n",
       " Wrong entry in line 1 of input-plan: temperature_error must be a number of 0 or more (K), found \"++2\""},
      {"temperature_error =   # none\n",
       " Wrong entry in line 1 of input-plan: temperature_error must be a number of 0 or more (K), found \"\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      read_text(c.text);
      ADD_FAILURE() << "accepted";
    } catch (const rec::Stop& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

TEST(PlanSettings, ADirectoryIsAFileError) {
  WorkDir dir;
  std::filesystem::create_directory(dir.path() / "input-plan");
  EXPECT_THROW(tesk::read_plan_settings((dir.path() / "input-plan").string()), rec::RecordError);
}

}  // namespace
