#include "stats/follower_tables.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "base/concat.h"
#include "base/error.h"
#include "selection/count_lo.h"
#include "selection/de_tables.h"
#include "selection/lo_after.h"
#include "selection/draw_days.h"
#include "selection/lo_gaps.h"
#include "selection/lo_repeats.h"
#include "selection/special_prizes.h"
#include "selection/lo_together.h"
#include "selection/number_type.h"
#include "session/conversions.h"
#include "stats/request_period.h"
#include "terms/lottery.h"
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

Block LoRoiBlock(const Session& session, const Clock& clock) {
  const std::vector<DrawDay> days = RequestedDays(session, clock, terms::kTwoDigits);
  std::vector<LoRepeat> repeats = RepeatsOf(days, 2);
  SortByStreak(repeats);
  Block table = TableBlock(days.size(),
                           {"Soos", "Soos ngafy veef", "Rowi", "Chuooix hieejn taji", "Chuooix dafi nhaast"},
                           repeats.size());
  int32_t r = 3;
  for (const LoRepeat& repeat : repeats) {
    table(r, 1) = Value::Text(NumberText(repeat.number, 2));
    table(r, 2) = Value::Number(repeat.days);
    table(r, 3) = Value::Number(repeat.repeatDays);
    table(r, 4) = Value::Number(repeat.streak);
    table(r, 5) = Value::Number(repeat.longestStreak);
    ++r;
  }
  return table;
}

Block LoXienBlock(const Session& session, const Clock& clock, int32_t size, int32_t rows) {
  const std::vector<DrawDay> days = RequestedDays(session, clock, terms::kTwoDigits);
  const std::vector<LoTogether> sets = LoTogetherOf(days, size, rows);
  Block table = TableBlock(days.size(), {"Booj soos", "Soos ngafy cufng veef", "Laafn cuoosi"}, sets.size());
  int32_t r = 3;
  for (const LoTogether& set : sets) {
    std::string numbers;
    for (const int32_t number : set.numbers) numbers += Concat(numbers.empty() ? "" : "-", NumberText(number, 2));
    table(r, 1) = Value::Text(numbers);
    table(r, 2) = Value::Number(set.days);
    table(r, 3) = Value::Date(set.lastDate);
    ++r;
  }
  return table;
}

Block BacNhoBlock(const Session& session, const Clock& clock, const std::vector<int32_t>& after, int32_t rows) {
  const std::vector<DrawDay> days = RequestedDays(session, clock, terms::kTwoDigits);
  LoFollowers followers = FollowersOf(days, after, 2);
  if (followers.numbers.size() > static_cast<size_t>(rows)) followers.numbers.resize(static_cast<size_t>(rows));
  Block table = TableBlock(days.size(), {"Soos", "Soos ngafy veef sau", "Tyr leej"}, followers.numbers.size());
  std::string listed;
  for (const int32_t number : after) listed += Concat(listed.empty() ? "" : ",", NumberText(number, 2));
  table(1, 2) = Value::Text(Concat(TelexToUnicode("Ngafy cos "), listed, ": ", std::to_string(followers.triggers)));
  int32_t r = 3;
  for (const LoFollower& follower : followers.numbers) {
    table(r, 1) = Value::Text(NumberText(follower.number, 2));
    table(r, 2) = Value::Number(follower.nextDays);
    table(r, 3) = follower.share ? Value::Number(*follower.share) : Value();
    ++r;
  }
  return table;
}

// The rows of one layout of đề, each as wide as its table.
std::vector<std::vector<Value>> DeGridRows(const std::vector<SpecialPrize>& prizes, bool byWeek) {
  std::vector<std::vector<Value>> rows;
  const auto add = [&rows](const DeTable& table) {
    std::vector<Value>& headings = rows.emplace_back();
    for (const std::string& telex : table.headings) headings.push_back(Value::Text(TelexToUnicode(telex)));
    rows.insert(rows.end(), table.rows.begin(), table.rows.end());
  };
  if (byWeek) {
    add(DeByWeek(prizes));
    return rows;
  }
  for (const DeTable& table : DeByYear(prizes)) {
    rows.push_back({Value::Number(table.year)});
    add(table);
  }
  return rows;
}

Block DeBlock(const Session& session, const Clock& clock, bool byWeek) {
  const std::vector<DrawDay> days = RequestedDays(session, clock, terms::kTwoDigits);
  const std::vector<SpecialPrize> prizes = SpecialPrizesOf(days);
  std::vector<std::vector<Value>> grid = DeGridRows(prizes, byWeek);
  // Too long a grid keeps its headings and its latest rows: by year, whole years.
  size_t dropped = 0;
  if (grid.size() > static_cast<size_t>(kDeGridRows)) {
    const size_t unit = byWeek ? 1 : 33;
    const size_t begin = byWeek ? 1 : 0;
    dropped = (grid.size() - static_cast<size_t>(kDeGridRows) + unit - 1) / unit * unit;
    grid.erase(grid.begin() + static_cast<std::ptrdiff_t>(begin), grid.begin() + static_cast<std::ptrdiff_t>(begin + dropped));
  }
  const auto gridRows = static_cast<int32_t>(grid.size());
  Block table(1 + gridRows + 1 + 11, byWeek ? 8 : 13);
  table(1, 1) = Value::Text(TelexToUnicode(kDayCountCaptionTelex) + std::to_string(days.size()));
  if (dropped > 0)
    table(1, 2) = Value::Text(Concat(TelexToUnicode("Bor qua "), std::to_string(byWeek ? dropped : dropped / 33),
                                     TelexToUnicode(byWeek ? " tuaafn ddaafu" : " nawm ddaafu")));
  for (int32_t r = 0; r < gridRows; ++r)
    for (size_t c = 0; c < grid[static_cast<size_t>(r)].size(); ++c)
      table(2 + r, static_cast<int32_t>(c) + 1) = grid[static_cast<size_t>(r)][c];
  const int32_t counts = 2 + gridRows + 1;
  const DeDigitCounts digits = CountDeDigits(prizes);
  table(counts, 1) = Value::Text(TelexToUnicode("Soos"));
  table(counts, 2) = Value::Text(TelexToUnicode(terms::kHeadTelex));
  table(counts, 3) = Value::Text(TelexToUnicode(terms::kTailTelex));
  table(counts, 4) = Value::Text(TelexToUnicode(terms::kSumTelex));
  for (size_t d = 0; d < 10; ++d) {
    const int32_t r = counts + 1 + static_cast<int32_t>(d);
    table(r, 1) = Value::Number(static_cast<double>(d));
    table(r, 2) = Value::Number(static_cast<double>(digits.heads[d]));
    table(r, 3) = Value::Number(static_cast<double>(digits.tails[d]));
    table(r, 4) = Value::Number(static_cast<double>(digits.sums[d]));
  }
  return table;
}

}  // namespace

void WriteDeTable(Session session, const TableTarget& target, const std::string& kind, const Clock& clock) {
  if (kind != "tuan" && kind != "nam")
    throw Error(VbError::InvalidArgument, Concat("Kieu must be \"tuan\" (by week) or \"nam\" (by year); it is \"",
                                                 kind, "\""));
  PutTable(session, target, kDeArea, [&] { return DeBlock(session, clock, kind == "tuan"); });
}

std::vector<int32_t> ParseSau(const std::string& after) {
  std::vector<int32_t> numbers;
  size_t start = 0;
  while (true) {
    const size_t comma = std::min(after.find(',', start), after.size());
    const size_t first = after.find_first_not_of(' ', start);
    const size_t last = after.find_last_not_of(' ', comma - 1);
    const bool twoDigits = first < comma && last != std::string::npos && last == first + 1 &&
                           std::isdigit(static_cast<unsigned char>(after[first])) &&
                           std::isdigit(static_cast<unsigned char>(after[last]));
    if (!twoDigits)
      throw Error(VbError::InvalidArgument, Concat("Sau must list two-digit numbers separated by commas (\"27\" or ",
                                                   "\"27,72\"); it is \"", after, "\""));
    numbers.push_back((after[first] - '0') * 10 + (after[last] - '0'));
    if (comma == after.size()) return numbers;
    start = comma + 1;
  }
}

void WriteLoRoiTable(Session session, const TableTarget& target, const Clock& clock) {
  PutTable(session, target, kLoRoiArea, [&] { return LoRoiBlock(session, clock); });
}

void WriteLoXienTable(Session session, const TableTarget& target, int32_t size, int32_t rows, const Clock& clock) {
  if (size != 2 && size != 3)
    throw Error(VbError::InvalidArgument, Concat("Co must be 2 or 3; it is ", std::to_string(size)));
  RequireRowCount(rows);
  PutTable(session, target, kLoXienArea, [&] { return LoXienBlock(session, clock, size, rows); });
}

void WriteBacNhoTable(Session session, const TableTarget& target, const std::string& after, int32_t rows,
                      const Clock& clock) {
  const std::vector<int32_t> numbers = ParseSau(after);
  RequireRowCount(rows);
  PutTable(session, target, kBacNhoArea, [&] { return BacNhoBlock(session, clock, numbers, rows); });
}

void WriteLoGanTable(Session session, const TableTarget& target, int32_t rows, const Clock& clock) {
  RequireRowCount(rows);
  PutTable(session, target, kLoGanArea, [&] { return LoGanBlock(session, clock, rows); });
}

}  // namespace pradima
