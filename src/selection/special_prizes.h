#pragma once
// The special prize of each draw day and station, and its last two digits
// (đề) with their first digit (đầu), last digit (đuôi) and sum (tổng).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "selection/draw_days.h"

namespace pradima {

struct SpecialPrize {
  DateSerial date = 0;
  std::string station;  // empty for the North
  std::string special;  // as stored
  int32_t de = 0;       // its last two digits, 0 to 99

  int32_t head() const { return de / 10; }
  int32_t tail() const { return de % 10; }
  int32_t sum() const { return (head() + tail()) % 10; }
};

// One entry per draw day and block that drew, in the order of the days and
// then of the blocks. A special prize that is blank or holds anything but
// digits gives no entry: it has no đề to show. One digit d is the đề 0d,
// as the count reads it.
std::vector<SpecialPrize> SpecialPrizesOf(const std::vector<DrawDay>& days);

// How often each digit 0 to 9 came as đầu, đuôi and tổng of the entries.
struct DeDigitCounts {
  std::array<int64_t, 10> heads{};
  std::array<int64_t, 10> tails{};
  std::array<int64_t, 10> sums{};
};
DeDigitCounts CountDeDigits(const std::vector<SpecialPrize>& prizes);

}  // namespace pradima
