#pragma once
// The colours of the count charts: counts from light to dark, and text that
// stays readable on any of them.
#include <cstdint>

#include "chart/svg_document.h"

namespace pradima::chart {

// The scale's colours: of the fewest appearances of a period, of halfway
// between the fewest and the most, and of the most.
inline constexpr Rgb kFewestColour{255, 255, 217};
inline constexpr Rgb kMiddleColour{65, 182, 196};
inline constexpr Rgb kMostColour{8, 29, 88};

// The colour of `count` on the period's scale from `least` to `most`: its
// share of the way, (count - least) / (most - least), interpolated linearly
// channel by channel from kFewestColour to kMiddleColour over the first half
// and on to kMostColour over the second, each channel rounded to the nearest
// whole value. A count outside the range takes the nearer end; when every
// count is the same there is no scale, and they take kMiddleColour.
Rgb CountColour(int64_t count, int64_t least, int64_t most);

// Near-black text on a light background, white on a dark one.
Rgb InkOn(const Rgb& background);

}  // namespace pradima::chart
