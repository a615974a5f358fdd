#pragma once
#include <cstdint>

#include "base/date.h"
#include "session/host.h"

namespace pradima {

// The days the results sheet lacks, one row each: from the day after its
// last row (1 January 2005 when it holds only its headings) up to today
// from 18:41, or yesterday before.
struct MissingDays {
  int32_t firstRow = 0;  // the row the first of them goes into
  int64_t firstDay = 0;  // as DaysFromCivil counts
  int32_t count = 0;     // none when the sheet is up to date
};

MissingDays FindMissingDays(Worksheet& results, const LocalDateTime& now);

}  // namespace pradima
