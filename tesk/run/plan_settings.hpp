// The settings of the information step that the deck has no line for: how
// the a-priori of the target profile is stated, how uncertain the other
// gases and the temperature are, and how the recommended windows (table81)
// are chosen. They come from the optional file
// `input-plan` in the working directory (key = value lines, # comments); a
// run without it takes the defaults below.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tesk/kernels/apriori.hpp"

namespace tesk {

inline constexpr std::string_view kPlanFile = "input-plan";

// What the recommended windows are chosen by: the smallest total error of
// the target's column, or the most joint degrees of freedom.
enum class WindowChoice { error, dofs };

struct PlanSettings {
  // How the a-priori covariance is formed: `absolute` takes deck line 34
  // (the uncertainty of the mixing ratio) on the diagonal; `percent` takes
  // apriori_percent of the profile in every layer. Either way the layers
  // correlate over correlation_km (0: not at all) with the given shape.
  AprioriKind apriori = AprioriKind::absolute;
  float apriori_percent = 50.0f;   // % of the target's mixing ratio in each layer
  float correlation_km = 0.0f;     // km, inter-layer correlation length
  CorrelationShape correlation = CorrelationShape::exponential;
  float interferer_percent = 5.0f;   // %, uncertainty of every other gas's column
  float temperature_kelvin = 2.0f;   // K, uncertainty of the whole temperature profile
  int windows = 10;                  // most windows table81 recommends
  WindowChoice select_by = WindowChoice::error;
  float stop_fraction = 0.01f;       // a window must improve the criterion by this share of it
  bool from_file = false;            // false: no input-plan, the defaults hold
};

// Reads `path` (normally kPlanFile in the working directory). A missing file
// gives the defaults with from_file false. Throws rec::Stop with a message
// naming the line for an unknown key, a repeated key, a line without `=`, or
// a value that is not a number or not one of the key's words or lies outside
// its range; rec::RecordError for a file that exists but cannot be read.
// Touches no console.
PlanSettings read_plan_settings(const std::string& path);

// The settings as the file states them, one `key = value` line per key in a
// fixed order, numbers in their shortest text (50, 0.5, 1e-05): what the
// run's echo ends with. Touches no file or console.
std::vector<std::string> plan_settings_lines(const PlanSettings& settings);

}  // namespace tesk
