#pragma once
// The counts of a period's lô taken from its draw days rather than from the
// results sheet, for a selection of the days the sheet cannot express (one
// station of a region).
#include <vector>

#include "selection/count_lo.h"
#include "selection/draw_days.h"

namespace pradima {

// How often each number came over `days`, exactly as CountLoInPeriod counts
// the same days: `days` of a number is the draw days it came on (a number
// drawn twice on one day counts one day, two appearances); `dayCount` is
// the number of days.
LoCountResult CountLoOfDays(const std::vector<DrawDay>& days);

}  // namespace pradima
