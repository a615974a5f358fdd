#pragma once
// Appearances of the two-digit numbers by first digit (đầu) and by last
// digit (đuôi), as the results sites show them beside the counts.
#include <array>
#include <cstdint>

#include "selection/count_lo.h"

namespace pradima {

struct HeadsAndTails {
  std::array<int64_t, 10> heads{};  // đầu d: the appearances of d0 to d9
  std::array<int64_t, 10> tails{};  // đuôi d: the appearances of 0d to 9d
};

// Over all 100 two-digit numbers of the counts, listed or not.
HeadsAndTails CountHeadsAndTails(const LoCounts& counts);

}  // namespace pradima
