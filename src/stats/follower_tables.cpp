#include "stats/follower_tables.h"

#include <optional>
#include <vector>

#include "base/concat.h"
#include "base/error.h"
#include "selection/count_lo.h"
#include "selection/draw_days.h"
#include "selection/lo_gaps.h"
#include "selection/number_type.h"
#include "session/conversions.h"
#include "stats/request_period.h"
#include "terms/sheet_layout.h"
#include "text/telex.h"

namespace pradima {
namespace {

void RequireRowCount(int32_t rows) {
  if (rows < 1 || rows > kMaxTableRows)
    throw Error(VbError::InvalidArgument, Concat("SoDong must be from 1 to ", std::to_string(kMaxTableRows),
                                                 "; it is ", std::to_string(rows)));
}

// The draw days of the request on the control sheet, of the given number type.
std::vector<DrawDay> RequestedDays(const Session& session, const Clock& clock, const std::string& numberType) {
  const RequestPeriod period = ReadRequestPeriod(session, clock);
  const std::string regionName = ToText(CellValue(session.control(), terms::kRegionCell));
  return ReadDrawDays(session, period.start, period.end, regionName, numberType);
}

// A table of `rows` data rows under its caption and headings, the headings converted from Telex.
Block TableBlock(size_t dayCount, std::initializer_list<const char*> headingsTelex, size_t rows) {
  Block table(static_cast<int32_t>(rows) + 2, static_cast<int32_t>(headingsTelex.size()));
  table(1, 1) = Value::Text(TelexToUnicode(kDayCountCaptionTelex) + std::to_string(dayCount));
  int32_t column = 1;
  for (const char* telex : headingsTelex) table(2, column++) = Value::Text(TelexToUnicode(telex));
  return table;
}

Value DateOrBlank(const std::optional<DateSerial>& date) { return date ? Value::Date(*date) : Value(); }
Value CountOrBlank(const std::optional<int32_t>& count) { return count ? Value::Number(*count) : Value(); }

Block LoGanBlock(const Session& session, const Clock& clock, int32_t rows) {
  const std::string numberType = ToText(CellValue(session.control(), terms::kNumberTypeCell));
  const int digits = DigitCount(numberType);
  if (digits == 0)
    throw Error(VbError::InvalidArgument, Concat("the number type \"", numberType, "\" in ", terms::kNumberTypeCell,
                                                 " of the control sheet is neither \"", terms::kTwoDigits,
                                                 "\" nor \"", terms::kThreeDigits, "\""));
  const std::vector<DrawDay> days = RequestedDays(session, clock, numberType);
  std::vector<LoGap> gaps = GapsOf(days, digits);
  SortByCurrentGap(gaps);
  if (gaps.size() > static_cast<size_t>(rows)) gaps.resize(static_cast<size_t>(rows));
  Block table = TableBlock(days.size(),
                           {"Soos", "Veef gaafn nhaast", "Gan hieejn taji", "Gan cuwjc ddaji", "Ngafy keest thusc"},
                           gaps.size());
  int32_t r = 3;
  for (const LoGap& gap : gaps) {
    table(r, 1) = Value::Text(NumberText(gap.number, digits));
    table(r, 2) = DateOrBlank(gap.lastDrawn);
    table(r, 3) = Value::Number(gap.currentGap);
    table(r, 4) = CountOrBlank(gap.longestGap);
    table(r, 5) = gap.longestRunning ? Value::Text(TelexToUnicode("ddang gan")) : DateOrBlank(gap.longestEnded);
    ++r;
  }
  return table;
}

}  // namespace

void WriteLoGanTable(Session session, const TableTarget& target, int32_t rows, const Clock& clock) {
  RequireRowCount(rows);
  PutTable(session, target, kLoGanArea, [&] { return LoGanBlock(session, clock, rows); });
}

}  // namespace pradima
