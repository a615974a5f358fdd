#include "selection/special_prizes.h"

namespace pradima {
namespace {

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

std::vector<SpecialPrize> SpecialPrizesOf(const std::vector<DrawDay>& days) {
  std::vector<SpecialPrize> prizes;
  for (const DrawDay& day : days)
    for (const DrawBlock& block : day.blocks) {
      if (!block.drew || !AllDigits(block.special)) continue;
      // A single digit is what a spreadsheet leaves of a prize such as 00007 stored as a number.
      const size_t size = block.special.size();
      const int32_t de = (size > 1 ? (block.special[size - 2] - '0') * 10 : 0) + (block.special[size - 1] - '0');
      prizes.push_back({day.date, block.station, block.special, de});
    }
  return prizes;
}

DeDigitCounts CountDeDigits(const std::vector<SpecialPrize>& prizes) {
  DeDigitCounts counts;
  for (const SpecialPrize& prize : prizes) {
    ++counts.heads[static_cast<size_t>(prize.head())];
    ++counts.tails[static_cast<size_t>(prize.tail())];
    ++counts.sums[static_cast<size_t>(prize.sum())];
  }
  return counts;
}

}  // namespace pradima
