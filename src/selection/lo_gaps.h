#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "selection/draw_days.h"

namespace pradima {

// How long a number has stayed away, in draw days. A gap is the draw days
// strictly between two appearances, or after the last appearance to the end
// of the period (the running gap). The days before a number's first
// appearance in the period are no gap: where they began is not known.
struct LoGap {
  int32_t number = 0;
  // None for a number never drawn in the period.
  std::optional<DateSerial> lastDrawn;
  // The running gap: 0 when drawn on the last draw day; every draw day of
  // the period for a number never drawn.
  int32_t currentGap = 0;
  // The longest gap and the date of the appearance that ended it; for the
  // running gap, the last draw day of the period, with `longestRunning`.
  // Of equally long gaps, the latest. None for a number never drawn.
  std::optional<int32_t> longestGap;
  std::optional<DateSerial> longestEnded;
  bool longestRunning = false;
};

// The gaps of every number of `digits` digits (00 to 99, or 000 to 999), by number.
std::vector<LoGap> GapsOf(const std::vector<DrawDay>& days, int digits);

// The numbers the longest away first (never drawn before all), ties by number.
void SortByCurrentGap(std::vector<LoGap>& gaps);

}  // namespace pradima
