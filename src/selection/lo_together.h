#pragma once
#include <cstdint>
#include <vector>

#include "selection/draw_days.h"

namespace pradima {

// A set of different two-digit lô that came on the same draw days.
struct LoTogether {
  std::vector<int32_t> numbers;  // ascending, 2 or 3 of them
  int32_t days = 0;              // the draw days on which every one of them came
  DateSerial lastDate = 0;       // the latest of those days
};

// The sets of `size` (2 or 3) different numbers from 00 to 99 that all came
// on one draw day, counted over `days` (oldest first): a number drawn twice
// on a day counts once that day, numbers outside 00 to 99 not at all. The
// most days first, ties by the numbers in ascending order; at most `top`
// sets, each of which came together at least once. Raises InvalidArgument
// for another size.
std::vector<LoTogether> LoTogetherOf(const std::vector<DrawDay>& days, int size, int32_t top);

// As LoTogetherOf with pairs, of a number and its reverse only (17 and 71);
// a number that is its own reverse (11) makes no pair.
std::vector<LoTogether> ReversePairsOf(const std::vector<DrawDay>& days, int32_t top);

// The number with its two digits swapped: 17 for 71, 7 for 70.
int32_t ReverseOf(int32_t number);

}  // namespace pradima
