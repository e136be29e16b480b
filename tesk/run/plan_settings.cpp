#include "tesk/run/plan_settings.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "common/byte_order_mark.hpp"
#include "common/records.hpp"

namespace tesk {
namespace {

namespace fs = std::filesystem;

// A value's words and the choices they stand for.
template <class E, std::size_t N>
using Words = std::array<std::pair<std::string_view, E>, N>;

constexpr Words<AprioriKind, 2> kAprioriWords{{{"absolute", AprioriKind::absolute},
                                               {"percent", AprioriKind::percent}}};
constexpr Words<CorrelationShape, 2> kShapeWords{{{"exponential", CorrelationShape::exponential},
                                                  {"gaussian", CorrelationShape::gaussian}}};
constexpr Words<WindowChoice, 2> kChoiceWords{{{"error", WindowChoice::error}, {"dofs", WindowChoice::dofs}}};

// A number as the file writes it: decimal digits with an optional sign,
// point and exponent, all of the value, finite as a float. "nan", "inf", hex
// and trailing text are no numbers of this file; neither is a value beyond
// the range of a float.
std::optional<float> plain_number(std::string_view text) {
  if (text.empty()) return std::nullopt;
  for (char c : text) {
    const bool allowed = (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
    if (!allowed) return std::nullopt;
  }
  if (text.front() == '+') text.remove_prefix(1);  // from_chars takes no plus sign
  if (text.empty() || text.front() == '+') return std::nullopt;
  float v = 0.0f;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
  return v == 0.0f ? 0.0f : v;  // -0 reads as 0
}

// The shortest text that reads back as `v`: 50, 0.5, 1e-05.
std::string plain_text(float v) {
  std::array<char, 32> buf{};
  const auto [end, error] = std::to_chars(buf.data(), buf.data() + buf.size(), v);
  return std::string(buf.data(), error == std::errc() ? end : buf.data());
}

enum class Bound { above_zero, zero_or_more };

template <float PlanSettings::*member, Bound bound>
bool set_number(PlanSettings& p, std::string_view text) {
  const std::optional<float> v = plain_number(text);
  if (!v || (bound == Bound::above_zero ? !(*v > 0.0f) : !(*v >= 0.0f))) return false;
  p.*member = *v;
  return true;
}

// A whole number from 1 to 1000000 (a count of windows).
bool set_count(PlanSettings& p, std::string_view text) {
  int v = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || v < 1 || v > 1000000) {
    return false;
  }
  p.windows = v;
  return true;
}

std::string show_count(const PlanSettings& p) { return std::to_string(p.windows); }

template <float PlanSettings::*member>
std::string show_number(const PlanSettings& p) {
  return plain_text(p.*member);
}

template <auto member, const auto& words>
bool set_word(PlanSettings& p, std::string_view text) {
  for (const auto& [word, choice] : words) {
    if (word == text) {
      p.*member = choice;
      return true;
    }
  }
  return false;
}

template <auto member, const auto& words>
std::string show_word(const PlanSettings& p) {
  for (const auto& [word, choice] : words) {
    if (choice == p.*member) return std::string(word);
  }
  return {};
}

// One key of the file: its name, what its value must be (for the refusal),
// how the value is taken into the settings and how it is echoed.
struct Key {
  std::string_view name;
  std::string_view rule;
  bool (*set)(PlanSettings&, std::string_view);
  std::string (*show)(const PlanSettings&);
};

// In the order the echo lists them.
constexpr std::array kKeys{
    Key{"apriori", "absolute or percent", set_word<&PlanSettings::apriori, kAprioriWords>,
        show_word<&PlanSettings::apriori, kAprioriWords>},
    Key{"apriori_percent", "a number above 0", set_number<&PlanSettings::apriori_percent, Bound::above_zero>,
        show_number<&PlanSettings::apriori_percent>},
    Key{"correlation_length", "a number of 0 or more (km)",
        set_number<&PlanSettings::correlation_km, Bound::zero_or_more>, show_number<&PlanSettings::correlation_km>},
    Key{"correlation_shape", "exponential or gaussian", set_word<&PlanSettings::correlation, kShapeWords>,
        show_word<&PlanSettings::correlation, kShapeWords>},
    Key{"interferer_error", "a number of 0 or more (%)",
        set_number<&PlanSettings::interferer_percent, Bound::zero_or_more>,
        show_number<&PlanSettings::interferer_percent>},
    Key{"temperature_error", "a number of 0 or more (K)",
        set_number<&PlanSettings::temperature_kelvin, Bound::zero_or_more>,
        show_number<&PlanSettings::temperature_kelvin>},
    Key{"windows", "a whole number from 1 to 1000000", set_count, show_count},
    Key{"select_by", "error or dofs", set_word<&PlanSettings::select_by, kChoiceWords>,
        show_word<&PlanSettings::select_by, kChoiceWords>},
    Key{"stop_fraction", "a number of 0 or more", set_number<&PlanSettings::stop_fraction, Bound::zero_or_more>,
        show_number<&PlanSettings::stop_fraction>},
};

std::string key_list() {
  std::string list;
  for (const Key& k : kKeys) list += (list.empty() ? "" : ", ") + std::string(k.name);
  return list;
}

std::string_view trimmed(std::string_view s) {
  constexpr std::string_view kBlank = " \t\r\f\v";
  const std::size_t b = s.find_first_not_of(kBlank);
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(kBlank) - b + 1);
}

}  // namespace

PlanSettings read_plan_settings(const std::string& path) {
  PlanSettings p;
  std::error_code error;
  // A dangling link counts as a file: the reader reports it, as it would
  // report the deck.
  if (!fs::exists(fs::symlink_status(path, error))) return p;
  const std::string file = fs::path(path).filename().string();
  rec::TextReader in(path);
  std::array<int, kKeys.size()> given{};  // line of each key, 0: not yet
  std::string raw;
  for (int line = 1; in.next_record(raw) == rec::ReadStatus::ok; ++line) {
    if (line == 1) rec::drop_byte_order_mark(raw);
    const auto wrong = [&](const std::string& why) {
      rec::stop(" Wrong entry in line " + std::to_string(line) + " of " + file + ": " + why);
    };
    const std::string_view text = trimmed(std::string_view(raw).substr(0, raw.find('#')));
    if (text.empty()) continue;
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
      wrong("no \"=\" between a key and its value, found \"" + std::string(text) + "\"");
    }
    const std::string_view name = trimmed(text.substr(0, eq));
    const std::string_view value = trimmed(text.substr(eq + 1));
    std::size_t k = 0;
    while (k < kKeys.size() && kKeys[k].name != name) ++k;
    if (k == kKeys.size()) wrong("unknown key \"" + std::string(name) + "\"; the keys are " + key_list());
    if (given[k] != 0) {
      wrong("key " + std::string(name) + " is given again (first in line " + std::to_string(given[k]) + ")");
    }
    given[k] = line;
    if (!kKeys[k].set(p, value)) {
      wrong(std::string(name) + " must be " + std::string(kKeys[k].rule) + ", found \"" + std::string(value) +
            "\"");
    }
  }
  in.close();
  p.from_file = true;
  return p;
}

std::vector<std::string> plan_settings_lines(const PlanSettings& settings) {
  std::vector<std::string> lines;
  for (const Key& k : kKeys) lines.push_back(std::string(k.name) + " = " + k.show(settings));
  return lines;
}

}  // namespace tesk
