#include "chart/colour_scale.h"

#include <algorithm>
#include <cmath>

namespace pradima::chart {
namespace {

uint8_t Between(uint8_t from, uint8_t to, double share) {
  return static_cast<uint8_t>(std::lround(from + (to - from) * share));
}

Rgb Between(const Rgb& from, const Rgb& to, double share) {
  return {Between(from.red, to.red, share), Between(from.green, to.green, share), Between(from.blue, to.blue, share)};
}

}  // namespace

Rgb CountColour(int64_t count, int64_t least, int64_t most) {
  if (most <= least) return kMiddleColour;
  const double share = std::clamp(static_cast<double>(count - least) / static_cast<double>(most - least), 0.0, 1.0);
  return share <= 0.5 ? Between(kFewestColour, kMiddleColour, share * 2)
                      : Between(kMiddleColour, kMostColour, share * 2 - 1);
}

Rgb InkOn(const Rgb& background) {
  // The colour's brightness as the eye weighs the channels.
  const int brightness = (299 * background.red + 587 * background.green + 114 * background.blue) / 1000;
  return brightness < 128 ? Rgb{255, 255, 255} : Rgb{33, 33, 33};
}

}  // namespace pradima::chart
