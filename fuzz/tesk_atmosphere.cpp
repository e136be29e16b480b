// Fuzz target: the line-finding program's standard atmosphere, its .vmr and
// .mod files. A form feed splits the input into a .vmr and a .mod file;
// without one, bit 0 of the first byte says which of the two the input is,
// and the other is a small valid file. Both are read alone, then together
// as a model atmosphere of 1 to 4 layers (bits 1-2) with the target's
// profile scaled.
#include "fuzz_support.hpp"
#include "tesk/atmosphere/atmosphere.hpp"
#include "tesk/atmosphere/profile_files.hpp"

namespace {

// Five levels from 0 to 5 km of gases 1 to 3, and the pressure and
// temperature at them.
constexpr std::string_view kVmr =
    "2 4\n"
    "header: altitude and three gases\n"
    "0.0 1.0e-2 3.7e-4 3.0e-8\n"
    "1.0 5.0e-3 3.7e-4 3.1e-8\n"
    "2.0 2.0e-3 3.7e-4 3.2e-8\n"
    "3.0 1.0e-3 3.7e-4 0.0\n"
    "4.0 5.0e-4 3.7e-4 3.4e-8\n"
    "6.0 1.0e-4 3.7e-4 3.5e-8\n";
constexpr std::string_view kMod =
    "2\n"
    "pressure [hPa] temperature [K] altitude [m]\n"
    "1013.25 288.15 0.\n"
    "898.76 281.65 1000.\n"
    "795.01 275.15 2000.\n"
    "701.21 268.66 3000.\n"
    "616.60 262.17 4000.\n"
    "472.17 249.19 6000.\n";

struct Profiles {
  tesk::VmrProfile vmr;
  tesk::PtProfile pt;
  tesk::Atmosphere atm;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Profiles* p = new Profiles;  // large arrays, made once
  fuzzing::WorkDir& dir = fuzzing::WorkDir::get();
  std::string_view in = fuzzing::bytes(data, size);
  const unsigned sel = fuzzing::take_byte(in);
  std::string_view vmr = kVmr, mod = kMod;
  const std::size_t ff = in.find('\f');
  if (ff != std::string_view::npos) {
    vmr = in.substr(0, ff);
    mod = in.substr(ff + 1);
  } else if (sel & 1u) {
    mod = in;
  } else {
    vmr = in;
  }
  dir.write("midlat.vmr", vmr);
  dir.write("midlat.mod", mod);

  fuzzing::expect_clean_end([&] { tesk::read_vmr_profile(dir.file("midlat.vmr"), 2, 1.5f, p->vmr); });
  fuzzing::expect_clean_end([&] { tesk::read_pt_profile(dir.file("midlat.mod"), p->pt); });
  const int nlev = 1 + static_cast<int>((sel >> 1) & 3u);
  fuzzing::expect_clean_end([&] { tesk::read_atmosphere(nlev, 2, 'm', 1.5f, dir.prefix(), p->atm); });
  return 0;
}
