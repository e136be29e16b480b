#include "kormal/atmosphere.hpp"

#include <filesystem>
#include <string>
#include <vector>

#include "common/records.hpp"

namespace kormal {
namespace {

constexpr std::string_view kTooManySpecies = "NSPECI > MSPECI";
constexpr std::string_view kTooManyLevels = "Increase parameter MLEV";

// The file's name without its directory: a detail line stays one console line.
std::string file_name(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

void read_atmosphere(const std::string& path, float observer_alt, int pseudo_gases, Atmosphere& atm) {
  rec::TextReader in(path);
  int nhead = 0;
  int ncol = 0;
  if (in.read_free({&nhead, &ncol}) != rec::ReadStatus::ok) {
    rec::record_error(" Atmosphere file " + path + " is empty");
  }
  if (ncol < 1) {
    rec::record_error(" Atmosphere file " + path + ": " + std::to_string(ncol) +
                      " columns in record 1; the altitude and the species need at least 1");
  }
  const int nspeci = ncol - 1;
  if (nspeci + pseudo_gases + 1 > kMaxSpecies) {
    // One entry stays free for the solar pseudo-gas.
    rec::stop(kTooManySpecies, " The file " + file_name(path) + " and the isotope pseudo-gases make " +
                                   std::to_string(nspeci + pseudo_gases) + " species; at most " +
                                   std::to_string(kMaxSpecies - 1) + " are allowed: remove columns or change line 7.");
  }
  // A header count beyond the file ends the skip at its end (no levels follow).
  for (int h = 2; h <= nhead; ++h) {
    if (in.read_free() == rec::ReadStatus::end) break;
  }

  // One level: the altitude, then the species in gas-number order.
  std::vector<rec::InItem> items(static_cast<std::size_t>(ncol));
  int nlev = 0;
  for (int k = 1; k <= kMaxLevels; ++k) {
    items[0] = &atm.alt(k);
    for (int g = 1; g <= nspeci; ++g) items[static_cast<std::size_t>(g)] = &atm.vmr(k, g);
    if (in.read_free(items) != rec::ReadStatus::ok) break;
    const bool below_observer = atm.alt(k) < observer_alt;
    for (int g = 1; g <= nspeci; ++g) {
      float& x = atm.vmr(k, g);
      if (x < kVmrFloor || below_observer) x = kVmrFloor;
    }
    nlev = k;
  }
  if (nlev == kMaxLevels && in.read_free() == rec::ReadStatus::ok) {
    rec::stop(kTooManyLevels, " The file " + file_name(path) + " holds more than " + std::to_string(kMaxLevels) +
                                  " levels, the most allowed: thin its levels or choose another atmosphere (line 7).");
  }
  in.close();
  if (nlev == 0) rec::record_error(" Atmosphere file " + path + " holds no level after its header");

  atm.nspeci_file = nspeci;
  atm.nspeci = nspeci;
  atm.nlev = nlev;
}

void add_isotope_pseudo_gases(const WindowRecord& w, int target, GasTable& gases, Atmosphere& atm) {
  const char digit = static_cast<char>('0' + w.isotope);
  gases.set(target, std::string(1, digit) + w.gasname);
  for (int j = 1; j <= kIsotopePseudoGases; ++j) {
    const int g = atm.nspeci + j;
    gases.set(g, std::string(1, static_cast<char>('0' + j)) + w.gasname.substr(0, 6));
    for (int k = 1; k <= kMaxLevels; ++k) atm.vmr(k, g) = atm.vmr(k, target);
  }
  atm.nspeci += kIsotopePseudoGases;
}

}  // namespace kormal
