#include "kormal/gas_names.hpp"

#include <cassert>

namespace kormal {
namespace {

constexpr std::array<std::string_view, kNamedGases> kNames = {
    "h2o",   "co2",    "o3",    "n2o",   "co",      "ch4",   "o2",    "no",     "so2",    "no2",   "nh3",
    "hno3",  "oh",     "hf",    "hcl",   "hb",      "hi",    "clo",   "ocs",    "h2co",   "hocl",  "ho2",
    "h2o2",  "hono",   "ho2no2", "n2o5", "clno3",   "hcn",   "ch3f",  "ch3cl",  "cf4",    "ccl2f2", "ccl3f",
    "ch3ccl3", "ccl4", "cof2",  "cfclo", "c2h6",    "c2h4",  "c2h2",  "n2",     "chclf2", "cocl2", "ch3br",
    "ch3I",  "hcooh",  "h2s",   "chfcl2", "hdo",    "sf6",   "f113",  "clcn",   "f142b"};
constexpr std::string_view kSpare = "gas";  // entries without a gas of their own

constexpr bool own_spellings_in_table() {
  for (const OwnSpelling& s : kOwnSpellings) {
    if (kNames[static_cast<std::size_t>(s.gas - 1)] != s.kormal) return false;
  }
  return true;
}
static_assert(own_spellings_in_table(), "kOwnSpellings names entries of the table as they are");

}  // namespace

std::string_view original_gas_name(int gas) {
  assert(gas >= 1 && gas <= kMaxSpecies);
  return gas <= kNamedGases ? kNames[static_cast<std::size_t>(gas - 1)] : kSpare;
}

std::string padded_name(std::string_view text) {
  std::string s(text.substr(0, kNameLength));
  s.resize(kNameLength, ' ');
  return s;
}

GasTable::GasTable() { reset(); }

void GasTable::reset() {
  for (int g = 1; g <= kMaxSpecies; ++g) set(g, original_gas_name(g));
}

const std::string& GasTable::name(int gas) const {
  assert(gas >= 1 && gas <= kMaxSpecies);
  return names_[static_cast<std::size_t>(gas - 1)];
}

void GasTable::set(int gas, std::string_view text) {
  assert(gas >= 1 && gas <= kMaxSpecies);
  std::string& entry = names_[static_cast<std::size_t>(gas - 1)];
  entry.assign(text.substr(0, kNameLength));
  entry.resize(kNameLength, ' ');
}

int GasTable::find(std::string_view name) const {
  const std::string wanted = padded_name(name);
  int found = 0;
  for (int g = 1; g <= kMaxSpecies; ++g) {
    if (this->name(g) == wanted) found = g;
  }
  return found;
}

}  // namespace kormal
