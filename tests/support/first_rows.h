#pragma once
// The first rows of a block, every column: the days a run kept, out of the
// rows an uninterrupted run writes.
#include "session/value.h"

namespace pradima::testing {

inline Block FirstRows(const Block& rows, int32_t count) {
  Block first(count, rows.columns());
  for (int32_t r = 1; r <= count; ++r)
    for (int32_t c = 1; c <= rows.columns(); ++c) first(r, c) = rows(r, c);
  return first;
}

}  // namespace pradima::testing
