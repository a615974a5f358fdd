#include "results/missing_days.h"

#include <cmath>

#include "base/error.h"
#include "session/address.h"
#include "session/conversions.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"

namespace pradima {

MissingDays FindMissingDays(Worksheet& results, const LocalDateTime& now) {
  using namespace terms;
  const bool afterDraws = now.hour > kLastDrawHour || (now.hour == kLastDrawHour && now.minute > kLastDrawMinute);
  const int64_t endDay = DaysFromCivil(now.date) - (afterDraws ? 0 : 1);

  const int32_t lastRow = LastUsedRow(results, kResultsFarCell);
  if (lastRow < kFirstResultRow - 1) {
    throw Error(VbError::InvalidArgument, "the results sheet has no headings: A4 is empty");
  }
  int64_t firstDay = DaysFromCivil(kFirstResultsDay);
  if (lastRow >= kFirstResultRow) {
    const Value last = CellValue(results, CellAddress(lastRow, 1));
    firstDay = static_cast<int64_t>(std::floor(ToDate(last))) - kUnixEpochSerial + 1;
  }
  const int64_t count = endDay >= firstDay ? endDay - firstDay + 1 : 0;
  return {lastRow + 1, firstDay, static_cast<int32_t>(count)};
}

}  // namespace pradima
