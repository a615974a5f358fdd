#include "selection/lo_gaps.h"

#include <algorithm>

namespace pradima {

std::vector<LoGap> GapsOf(const std::vector<DrawDay>& days, int digits) {
  const int32_t size = digits == 3 ? 1000 : 100;
  std::vector<LoGap> gaps(static_cast<size_t>(size));
  // Index of the last draw day on which each number came; -1 before its first.
  std::vector<int64_t> lastIndex(static_cast<size_t>(size), -1);
  for (int32_t n = 0; n < size; ++n) gaps[static_cast<size_t>(n)].number = n;
  for (size_t i = 0; i < days.size(); ++i) {
    for (const int32_t lo : days[i].numbers) {
      if (lo < 0 || lo >= size) continue;
      auto& seen = lastIndex[static_cast<size_t>(lo)];
      if (seen == static_cast<int64_t>(i)) continue;
      LoGap& gap = gaps[static_cast<size_t>(lo)];
      if (seen >= 0) {
        const auto between = static_cast<int32_t>(static_cast<int64_t>(i) - seen - 1);
        if (!gap.longestGap || between >= *gap.longestGap) {
          gap.longestGap = between;
          gap.longestEnded = days[i].date;
        }
      }
      seen = static_cast<int64_t>(i);
      gap.lastDrawn = days[i].date;
    }
  }
  const auto dayCount = static_cast<int64_t>(days.size());
  for (int32_t n = 0; n < size; ++n) {
    LoGap& gap = gaps[static_cast<size_t>(n)];
    const int64_t seen = lastIndex[static_cast<size_t>(n)];
    gap.currentGap = static_cast<int32_t>(dayCount - 1 - seen);
    if (seen < 0) continue;
    if (!gap.longestGap || gap.currentGap >= *gap.longestGap) {
      gap.longestGap = gap.currentGap;
      gap.longestEnded = days.back().date;
      gap.longestRunning = true;
    }
  }
  return gaps;
}

void SortByCurrentGap(std::vector<LoGap>& gaps) {
  std::stable_sort(gaps.begin(), gaps.end(), [](const LoGap& a, const LoGap& b) {
    if (a.lastDrawn.has_value() != b.lastDrawn.has_value()) return !a.lastDrawn.has_value();
    if (a.currentGap != b.currentGap) return a.currentGap > b.currentGap;
    return a.number < b.number;
  });
}

}  // namespace pradima
