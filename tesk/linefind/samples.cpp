#include "tesk/linefind/samples.hpp"

namespace tesk {

bool never_decreases(const rec::Levels<float>& wavenumber, int n) {
  for (int l = 2; l <= n; ++l) {
    if (!(wavenumber(l) >= wavenumber(l - 1))) return false;
  }
  return true;
}

}  // namespace tesk
