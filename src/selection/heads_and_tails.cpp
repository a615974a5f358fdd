#include "selection/heads_and_tails.h"

namespace pradima {

HeadsAndTails CountHeadsAndTails(const LoCounts& counts) {
  HeadsAndTails result;
  for (int32_t n = 0; n <= 99; ++n) {
    const int64_t appearances = counts.appearances(n).value_or(0);
    result.heads[static_cast<size_t>(n / 10)] += appearances;
    result.tails[static_cast<size_t>(n % 10)] += appearances;
  }
  return result;
}

}  // namespace pradima
