#include "selection/lo_repeats.h"

#include <algorithm>

namespace pradima {

std::vector<LoRepeat> RepeatsOf(const std::vector<DrawDay>& days, int digits) {
  const int32_t size = digits == 3 ? 1000 : 100;
  std::vector<LoRepeat> repeats(static_cast<size_t>(size));
  // The index of the last draw day on which each number came, as index + 1: 0 before its first.
  std::vector<size_t> lastSeen(static_cast<size_t>(size), 0);
  for (int32_t n = 0; n < size; ++n) repeats[static_cast<size_t>(n)].number = n;
  for (size_t i = 0; i < days.size(); ++i) {
    for (const int32_t lo : days[i].numbers) {
      if (lo < 0 || lo >= size) continue;
      size_t& seen = lastSeen[static_cast<size_t>(lo)];
      if (seen == i + 1) continue;
      LoRepeat& repeat = repeats[static_cast<size_t>(lo)];
      ++repeat.days;
      // `streak` holds the run up to the last day it came; it ends on the last draw day only if still running.
      if (seen != 0 && seen == i) {
        ++repeat.repeatDays;
        ++repeat.streak;
      } else {
        repeat.streak = 1;
      }
      repeat.longestStreak = std::max(repeat.longestStreak, repeat.streak);
      seen = i + 1;
    }
  }
  for (int32_t n = 0; n < size; ++n)
    if (lastSeen[static_cast<size_t>(n)] != days.size()) repeats[static_cast<size_t>(n)].streak = 0;
  return repeats;
}

void SortByStreak(std::vector<LoRepeat>& repeats) {
  std::stable_sort(repeats.begin(), repeats.end(), [](const LoRepeat& a, const LoRepeat& b) {
    if (a.streak != b.streak) return a.streak > b.streak;
    if (a.longestStreak != b.longestStreak) return a.longestStreak > b.longestStreak;
    return a.number < b.number;
  });
}

}  // namespace pradima
