#include "tesk/run/plan_run.hpp"

#include <string_view>
#include <vector>

namespace tesk {
namespace {

// The first blank of a format is carriage control: the lines start with one.
const rec::Format kPlanFromFile("('  Settings of the information step from input-plan')");
const rec::Format kNoPlan("('  No input-plan: the information step takes its defaults')");

constexpr std::string_view kEchoTitle = " input-plan";
constexpr std::string_view kEchoTitleDefaults = " input-plan (not found: defaults)";

}  // namespace

bool reads_plan_settings(const Deck& deck) {
  return has_information_step(deck.study) && deck.runmode != RunMode::display;
}

void write_plan_line(rec::Console& console, const PlanSettings& settings) {
  console.write(settings.from_file ? kPlanFromFile : kNoPlan);
}

void append_plan_echo(const std::string& echo_path, const PlanSettings& settings) {
  std::vector<std::string> records;
  {
    rec::TextReader in(echo_path);
    std::string r;
    while (in.next_record(r) == rec::ReadStatus::ok) records.push_back(r);
    in.close();
  }
  rec::TextWriter out(echo_path);
  for (const std::string& r : records) out.record(r);
  out.record(settings.from_file ? kEchoTitle : kEchoTitleDefaults);
  for (const std::string& line : plan_settings_lines(settings)) out.record(line);
  out.close();
}

}  // namespace tesk
