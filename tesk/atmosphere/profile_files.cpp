#include "tesk/atmosphere/profile_files.hpp"

#include <array>
#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>

#include "common/records.hpp"
#include "common/stop.hpp"

namespace tesk {
namespace {

void read_header_count(rec::TextReader& in, std::initializer_list<rec::InItem> items) {
  if (in.read_free(items) == rec::ReadStatus::end) {
    rec::record_error(" " + in.path() + ": end of file in the first line (header line count)");
  }
}

void skip_records(rec::TextReader& in, int count) {
  for (int k = 1; k <= count; ++k) {
    if (in.read_free() == rec::ReadStatus::end) return;
  }
}

// A header count that swallows the whole file leaves no profile to
// interpolate. (A vmr file without levels is a profile not high enough.)
void require_levels(const rec::TextReader& in, int nlev) {
  if (nlev == 0) rec::record_error(" Atmosphere file " + in.path() + " holds no level after its header");
}

// The file's name without its directory, for a detail line that must stay
// one console line whatever the input prefix.
std::string file_name(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// A stop for more levels than the arrays hold, with the file and the limit.
[[noreturn]] void stop_too_many_levels(std::string_view message, const std::string& path, int allowed) {
  rec::stop(message, " The file " + file_name(path) + " holds more than " + std::to_string(allowed) +
                         " levels, the most allowed: thin its levels or choose another atmosphere (line 15).");
}

[[noreturn]] void stop_at(std::string_view what, const std::string& path, int record) {
  rec::stop(std::string(what) + " in " + path + " at record " + std::to_string(record));
}

}  // namespace

void read_vmr_profile(const std::string& path, int target_gas, float target_scale, VmrProfile& prof) {
  rec::TextReader in(path);
  int nhead = 0;
  int ncol = 0;
  read_header_count(in, {&nhead, &ncol});
  const int ngas = ncol - 1;
  if (ngas > kMaxGases) {
    rec::stop(kMsgTooManyGases, " The file " + file_name(path) + " holds " + std::to_string(ngas) +
                                    " gas columns; at most " + std::to_string(kMaxGases) +
                                    " are allowed: remove columns or choose another atmosphere (line 15).");
  }
  if (ngas < 0) rec::stop(" Number of columns below 1 in " + path);
  skip_records(in, nhead - 1);

  prof.ngas = ngas;
  prof.nlev = 0;
  prof.alt.fill(0.0f);
  prof.vmr.fill(0.0f);
  // A level is one free-form statement of 1 + ngas items: it may run over
  // several lines, and the rest of its last line is skipped.
  std::array<float, kMaxGases + 1> values{};
  std::array<rec::InItem, kMaxGases + 1> items;
  for (std::size_t k = 0; k < items.size(); ++k) items[k] = &values[k];
  const auto level_items = std::span<const rec::InItem>(items).first(static_cast<std::size_t>(ngas) + 1);
  for (int ilev = 1;; ++ilev) {
    const int record = in.record_number() + 1;
    if (in.read_free(level_items) == rec::ReadStatus::end) break;
    if (ilev == kMaxLevels) stop_too_many_levels(kMsgTooManyVmrLevels, path, kMaxLevels - 1);
    if (ilev > 1 && !(values[0] > prof.alt(ilev - 1))) {
      stop_at(" Altitudes do not increase", path, record);
    }
    prof.alt(ilev) = values[0];
    for (int igas = 1; igas <= ngas; ++igas) {
      float v = values[static_cast<std::size_t>(igas)];
      // Every gas of the file contributes lines, however weakly.
      if (v == 0.0f) v = 1.0e-20f;
      if (igas == target_gas) v *= target_scale;
      prof.vmr(igas, ilev) = v;
    }
    prof.nlev = ilev;
  }
  in.close();
}

void read_pt_profile(const std::string& path, PtProfile& prof) {
  rec::TextReader in(path);
  int nhead = 0;
  read_header_count(in, {&nhead});
  skip_records(in, nhead - 1);

  prof.nlev = 0;
  for (int ilev = 1;; ++ilev) {
    const int record = in.record_number() + 1;
    float p = 0.0f;
    float t = 0.0f;
    float a = 0.0f;
    if (in.read_free({&p, &t, &a}) == rec::ReadStatus::end) break;
    if (ilev == kMaxProfileLevels) stop_too_many_levels(kMsgTooManyPtLevels, path, kMaxProfileLevels - 1);
    const float alt_km = a / 1000.0f;
    if (ilev > 1 && !(alt_km > prof.alt(ilev - 1))) {
      stop_at(" Altitudes do not increase", path, record);
    }
    if (!(t > 0.0f)) stop_at(" Temperature not positive", path, record);
    prof.pres(ilev) = p;
    prof.temp(ilev) = t;
    prof.alt(ilev) = alt_km;
    // Density in units of the pressure at 273.16 K: proportional to the
    // number density, and decreasing with altitude.
    const float d = p * 273.16f / t;
    prof.dens(ilev) = d;
    prof.neg_dens(ilev) = -d;
    prof.nlev = ilev;
  }
  require_levels(in, prof.nlev);
  in.close();
}

}  // namespace tesk
