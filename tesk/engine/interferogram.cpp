#include "tesk/engine/interferogram.hpp"

#include "common/stop.hpp"
#include "tesk/engine/cosine_transform.hpp"

namespace tesk {

int interferogram_length(int rows) {
  if (rows > kMaxInterferogramRows) rec::stop(kInterferogramTooLong);
  int len = 2;
  while (len < rows) len *= 2;
  return len;
}

void interferograms(std::span<float> x, std::span<float> y) {
  CosineTransform plans;
  cosine_transform(plans, x, +1);
  cosine_transform(plans, y, +1);
}

}  // namespace tesk
