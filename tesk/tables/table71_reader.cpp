#include "tesk/tables/table71_reader.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tesk {
namespace {

// A row is the wavenumber as f10.4, then each further value as a blank and
// e11.5 (the blank the format skips after the last value is not written).
constexpr std::size_t kWavenumberField = 10;
constexpr std::size_t kValueField = 12;

std::string holds_what(int columns) {
  std::string s = std::to_string(columns) + " columns per row";
  if (columns == kSpectrumColumns) s += ", as a study s, w or a writes it";
  return s;
}

std::string needs_what(int columns) {
  std::string s = std::to_string(columns);
  if (columns == kDifferenceColumns) s += ", as a complete run of study i or d writes them";
  return s;
}

// Values 1..n of `v` as 1-based storage of exactly that size.
rec::Levels<float> levels_of(const std::vector<float>& v) {
  rec::Levels<float> out(static_cast<int>(v.size()));
  std::copy(v.begin(), v.end(), out.span().begin());
  return out;
}

}  // namespace

Table71Reader::Table71Reader(const std::string& path, int columns) : in_(path) {
  std::string first;
  if (in_.next_record(first) == rec::ReadStatus::end) {
    rec::record_error(" " + path + " is empty: its first line, the column count, is missing");
  }
  int header_lines = 0;
  int held = 0;
  if (rec::read_free_internal(first, {&header_lines, &held}, rec::Where{path, 1}) == rec::ReadStatus::end) {
    rec::record_error(" " + path + " has no column count in record 1: found \"" + first + "\"");
  }
  if (held < columns) {
    rec::record_error(" " + path + " holds " + holds_what(held) + "; this study needs " + needs_what(columns));
  }
  in_.expect_rows(kTable71HeaderLines + 1, kWavenumberField + kValueField * static_cast<std::size_t>(held - 1));
  for (int i = 2; i <= kTable71HeaderLines; ++i) {
    if (in_.read_free() == rec::ReadStatus::end) return;
  }
}

rec::ReadStatus Table71Reader::next(std::initializer_list<rec::InItem> items) { return in_.read_free(items); }

void read_target_samples(const std::string& table71, float tfactor, TargetSamples& samples) {
  Table71Reader in(table71, kDifferenceColumns);
  std::vector<float> wavenumber;
  std::vector<float> other_gases;
  std::vector<float> difference;
  float target = 0.0f;
  double all_gases = 0.0;
  for (;;) {
    // A null value (two commas) leaves a sample at 0.
    float nu = 0.0f;
    float other = 0.0f;
    float diff = 0.0f;
    if (in.next({&nu, &target, &other, &all_gases, &diff}) == rec::ReadStatus::end) break;
    wavenumber.push_back(nu);
    other_gases.push_back(other);
    difference.push_back(diff);
  }
  in.close();
  const float scale = tfactor - 1.0f;
  for (float& d : difference) d = std::fabs(d / scale);
  const int n = static_cast<int>(wavenumber.size());
  samples.wavenumber = levels_of(wavenumber);
  samples.other_gases = levels_of(other_gases);
  samples.sensitivity = levels_of(difference);
  samples.nsamp = n;
  samples.ordered = never_decreases(samples.wavenumber, n);
}

void read_window_samples(const std::string& table71, WindowSamples& samples) {
  Table71Reader in(table71, kSpectrumColumns);
  std::vector<float> wavenumber;
  std::vector<float> all_gases;
  float target = 0.0f;
  float other_gases = 0.0f;
  for (;;) {
    float nu = 0.0f;
    float all = 0.0f;
    if (in.next({&nu, &target, &other_gases, &all}) == rec::ReadStatus::end) break;
    wavenumber.push_back(nu);
    all_gases.push_back(all);
  }
  in.close();
  const int n = static_cast<int>(wavenumber.size());
  samples.wavenumber = levels_of(wavenumber);
  samples.all_gases = levels_of(all_gases);
  samples.np = n;
  samples.ordered = never_decreases(samples.wavenumber, n);
}

}  // namespace tesk
