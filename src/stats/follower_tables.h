#pragma once
// The followers' statistics as tables in the workbook. Each operation reads
// the request from the control sheet as RunStatistics does (period B1:B2
// with its end-of-period rule, region B3, weekday B5), puts its table at
// the target (see PutTable: screen updating off and on, the target
// refused where it would touch the cells the engine reads, the largest
// table's area cleared, one block written) and works on its own copy of
// the session. A table is a caption row with the number of draw days
// counted, a row of headings, then its rows. An argument out of range
// raises error 5 naming it before anything is read or written.
#include <cstdint>
#include <string>

#include "base/clock.h"
#include "session/session.h"
#include "stats/table_target.h"

namespace pradima {

inline constexpr int32_t kMaxTableRows = 1000;  // SoDong

// Lô gan of the number type in B6: number, last drawn, current gap, longest
// gap and when it ended ("đang gan" while it runs), the longest away first;
// the first `rows` numbers (SoDong, 1 to 1000).
inline constexpr TableArea kLoGanArea{2 + kMaxTableRows, 5};
void WriteLoGanTable(Session session, const TableTarget& target, int32_t rows,
                     const Clock& clock = SystemLocalTime);

}  // namespace pradima
