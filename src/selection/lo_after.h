#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "selection/draw_days.h"

namespace pradima {

// What came on the draw day after the days that had certain numbers ("bạc nhớ").
struct LoFollower {
  int32_t number = 0;
  int32_t nextDays = 0;         // of the days right after a trigger day, those on which it came
  std::optional<double> share;  // nextDays / triggers; none when there is no trigger day
};

struct LoFollowers {
  // The trigger days: the draw days, the last one excluded (it has no next),
  // on which every number of `after` came.
  int32_t triggers = 0;
  // Every number of the type, the most next days first, ties by number.
  std::vector<LoFollower> numbers;
};

// Over the draw days in the order given ("the next draw day" is the next
// element). `after` holds one or more numbers of `digits` digits; raises
// Error (invalid argument) for an empty list or a number outside the type.
LoFollowers FollowersOf(const std::vector<DrawDay>& days, const std::vector<int32_t>& after, int digits);

}  // namespace pradima
