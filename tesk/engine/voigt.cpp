#include "tesk/engine/voigt.hpp"

#include <cmath>

#include "tesk/engine/voigt_detail.hpp"

namespace tesk {

float voigt_w4(float x, float y) {
  using namespace voigt_detail;
  const Cplx t = {y, -x};
  const float s = std::fabs(x) + y;
  const Cplx u = mul(t, t);
  if (s >= kFarWing) return region1(t, u);
  if (s >= kMiddleWing) return region2(t, u);
  if (centre_region(x, y)) return region3(t);
  return region4(t, u);
}

}  // namespace tesk
