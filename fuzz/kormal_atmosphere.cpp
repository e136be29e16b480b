// Fuzz target: the interfering-gas program's atmosphere file. The first
// byte chooses the observer altitude (0 to 7 km) and whether the window
// adds isotope pseudo-gases; the rest is the file. What was read is then
// turned into slant columns and widths, as every window does.
#include <memory>

#include "fuzz_support.hpp"
#include "kormal/atmosphere.hpp"
#include "kormal/columns.hpp"

namespace {

struct State {
  kormal::Atmosphere atm;
  kormal::SpeciesData species;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static State* s = new State;  // some 14 MB of line spectra, made once
  std::string_view in = fuzzing::bytes(data, size);
  const unsigned sel = fuzzing::take_byte(in);
  const std::string path = fuzzing::WorkDir::get().write("midlat.vmr", in);
  const float observer = static_cast<float>(sel & 7u);
  const int pseudo = (sel & 8u) ? kormal::kIsotopePseudoGases : 0;
  fuzzing::expect_clean_end([&] {
    kormal::read_atmosphere(path, observer, pseudo, s->atm);
    kormal::compute_columns(s->atm, s->species);
  });
  return 0;
}
