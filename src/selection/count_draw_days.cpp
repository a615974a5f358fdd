#include "selection/count_draw_days.h"

#include <array>

namespace pradima {

LoCountResult CountLoOfDays(const std::vector<DrawDay>& days) {
  LoCountResult result;
  result.dayCount = static_cast<int32_t>(days.size());
  // A number is in today's set when its stamp is today's: the index of the day, plus one.
  std::array<size_t, 1000> seenOn{};
  for (size_t d = 0; d < days.size(); ++d)
    for (const int32_t lo : days[d].numbers) {
      const bool firstToday = seenOn[static_cast<size_t>(lo)] != d + 1;
      seenOn[static_cast<size_t>(lo)] = d + 1;
      result.counts.Add(lo, firstToday);
    }
  return result;
}

}  // namespace pradima
