// The settings file of the information step in a run: which runs read it,
// what the console says of it, and its record at the end of the deck echo,
// so that the echo tells every value the information step was given.
#pragma once

#include <string>

#include "common/records.hpp"
#include "tesk/run/deck.hpp"
#include "tesk/run/plan_settings.hpp"

namespace tesk {

// Whether a run of `deck` reads input-plan: the line-finding study's complete
// and sort runs, whose information step uses it. A display run computes nothing.
bool reads_plan_settings(const Deck& deck);

// Writes the one console line that says where the settings come from.
void write_plan_line(rec::Console& console, const PlanSettings& settings);

// Ends the echo file at `echo_path` (the deck's 46 lines, written before)
// with a title line, " input-plan" or " input-plan (not found: defaults)",
// and one `key = value` line per setting (plan_settings_lines). The echo is
// written again whole; its deck lines stay as they were. Throws
// rec::RecordError when it cannot be read or written.
void append_plan_echo(const std::string& echo_path, const PlanSettings& settings);

}  // namespace tesk
