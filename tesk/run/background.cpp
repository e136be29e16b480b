#include "tesk/run/background.hpp"

#include <algorithm>

namespace tesk {

bool hot_background(const Deck& d, std::span<const Segment> segments) {
  if (d.transrad != Quantity::radiance) return false;
  if (segments.empty()) return d.tback > kWarmestModelAir;
  const auto warmest = std::max_element(segments.begin(), segments.end(),
                                        [](const Segment& a, const Segment& b) { return a.temp < b.temp; });
  return d.tback > warmest->temp;
}

}  // namespace tesk
