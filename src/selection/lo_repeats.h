#pragma once
#include <cstdint>
#include <vector>

#include "selection/draw_days.h"

namespace pradima {

// How a number comes again on the next draw day ("lô rơi"). A number drawn
// twice on a day counts once for that day.
struct LoRepeat {
  int32_t number = 0;
  int32_t days = 0;           // the draw days it came
  int32_t repeatDays = 0;     // of those, the days right after a draw day on which it also came
  int32_t streak = 0;         // the run of consecutive draw days with it that ends on the last one; 0 if absent then
  int32_t longestStreak = 0;  // its longest such run anywhere in the days
};

// The repeats of every number of `digits` digits (00 to 99, or 000 to 999),
// by number, over the draw days in the order given: "the next draw day" is
// the next element, whatever the calendar says.
std::vector<LoRepeat> RepeatsOf(const std::vector<DrawDay>& days, int digits);

// The longest current streaks first, then the longest streaks, then by number.
void SortByStreak(std::vector<LoRepeat>& repeats);

}  // namespace pradima
