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
#include <vector>

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

// Lô rơi of every two-digit number: its days, rơi, current and longest
// streak, the longest current streaks first.
inline constexpr TableArea kLoRoiArea{2 + 100, 5};
void WriteLoRoiTable(Session session, const TableTarget& target, const Clock& clock = SystemLocalTime);

// Lô xiên: the sets of `size` (Co, 2 or 3) two-digit numbers that came on
// the most draw days together ("07-15"), with those days and the last of
// them; the first `rows` sets (SoDong, 1 to 1000).
inline constexpr TableArea kLoXienArea{2 + kMaxTableRows, 3};
void WriteLoXienTable(Session session, const TableTarget& target, int32_t size, int32_t rows,
                      const Clock& clock = SystemLocalTime);

// Bạc nhớ: the trigger days are the draw days (the last excepted) on which
// every number of `after` came (Sau: "27" or "27,72"); for each two-digit
// number, on how many of the next draw days it came and that share of the
// trigger days, the most first; the first `rows` numbers (SoDong, 1 to
// 1000; there are 100). The caption row also gives the trigger days.
inline constexpr TableArea kBacNhoArea{2 + 100, 3};
void WriteBacNhoTable(Session session, const TableTarget& target, const std::string& after, int32_t rows,
                      const Clock& clock = SystemLocalTime);

// Đề by week ("tuan": a row per week, Monday to Sunday across) or by year
// ("nam": per year its number, then days 1 to 31 down, months across), the
// special prizes' last two digits as the tool lays them out, the latest
// 1000 rows of that grid (the caption says when earlier ones are left out);
// then a blank row and how often each digit came as đầu, đuôi and tổng
// over the whole period.
inline constexpr int32_t kDeGridRows = 1000;
inline constexpr TableArea kDeArea{1 + kDeGridRows + 1 + 11, 13};
void WriteDeTable(Session session, const TableTarget& target, const std::string& kind,
                  const Clock& clock = SystemLocalTime);

// The two-digit numbers of a Sau text: two digits each, separated by
// commas, spaces around them allowed. Raises error 5 naming Sau otherwise.
std::vector<int32_t> ParseSau(const std::string& after);

}  // namespace pradima
