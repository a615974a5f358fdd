#include "selection/count_lo.h"

#include <vector>

#include "base/error.h"
#include "session/address.h"
#include "session/conversions.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "text/telex.h"

namespace pradima {
namespace {

using terms::kEveryDay;

DateSerial DateOf(const Value& cell) {
  return cell.kind() == CellKind::Date || cell.kind() == CellKind::Number ? cell.number() : ToDate(cell);
}

}  // namespace

const std::array<std::string, 3>& RegionNames() {
  static const std::array<std::string, 3> names = {TelexToUnicode(terms::kRegions[0].telexName),
                                                   TelexToUnicode(terms::kRegions[1].telexName),
                                                   TelexToUnicode(terms::kRegions[2].telexName)};
  return names;
}

RegionBlocks RegionProfile(std::string_view regionName) {
  const auto& names = RegionNames();
  for (size_t i = 0; i < names.size(); ++i) {
    const terms::Region& region = terms::kRegions[i];
    if (regionName == names[i]) {
      return {region.firstBlock, region.lastBlock, region.numbersPerBlock, region.firstColumn, region.lastColumn};
    }
  }
  return {};
}

void RequireKnownRegion(std::string_view regionName) {
  if (RegionProfile(regionName).known()) return;
  const auto& names = RegionNames();
  throw Error(VbError::InvalidArgument, "the region \"" + std::string(regionName) + "\" is none of " + names[0] + ", " +
                                            names[1] + " and " + names[2]);
}

int WeekdayCode(std::string_view weekdayText) {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> converted;
    for (const char* name : terms::kWeekdayTelexNames) converted.push_back(TelexToUnicode(name));
    return converted;
  }();
  for (int code = 1; code <= 7; ++code)
    if (weekdayText == names[static_cast<size_t>(code - 1)]) return code;
  return kEveryDay;
}

int DigitCount(std::string_view numberType) {
  if (numberType == terms::kTwoDigits) return 2;
  if (numberType == terms::kThreeDigits) return 3;
  return 0;
}

BlockMarks MarkBlockColumns(const Block& regionTable) {
  if (regionTable.rows() < 7 || regionTable.columns() < 8) {
    throw Error(VbError::SubscriptOutOfRange, "the region table CaiDatMien has " + std::to_string(regionTable.rows()) +
                                                  " rows by " + std::to_string(regionTable.columns()) +
                                                  " columns; it needs 7 weekdays by 8 blocks");
  }
  BlockMarks marks{};
  for (int w = 1; w <= 7; ++w)
    for (int b = 1; b <= 8; ++b) {
      const Value& cell = regionTable(w, b);
      if (cell.IsNumber() && cell.number() == 1)
        marks[static_cast<size_t>(w)][static_cast<size_t>(b)] = terms::kBlockHeadColumns[static_cast<size_t>(b)];
    }
  return marks;
}

PeriodRows FindPeriodRows(const Block& dates, DateSerial start, DateSerial end) {
  // A date the count cannot read is named by its cell, so the user can find it.
  const auto dateAt = [&](int32_t r) {
    try {
      return DateOf(dates(r, 1));
    } catch (const Error& e) {
      throw e.WithContext("the results sheet's " + CellAddress(terms::kFirstResultRow + r - 1, 1));
    }
  };
  PeriodRows period;
  int32_t last = dates.rows();
  while (last >= 1 && dateAt(last) > end) --last;
  if (last < 1 || dateAt(last) < start) return period;
  int32_t first = last;
  while (first > 1 && dateAt(first - 1) >= start) --first;
  return {first, last};
}

namespace {

// The count over any table of cells; instantiated for a block of values
// directly, so that the in-memory host pays no call per cell.
template <typename Cells>
LoCountResult CountCells(const Block& dates, const PeriodRows& period, const Cells& cells, int32_t firstColumn,
                         const BlockMarks& marks, int weekdayCode, const RegionBlocks& region, int digits) {
  LoCountResult result;
  if (period.empty()) return result;
  // Every head column plus its numbers must lie inside the results.
  for (int b = region.first; b <= region.last && region.known(); ++b)
    for (int w = 1; w <= 7; ++w) {
      const int32_t head = marks[static_cast<size_t>(w)][static_cast<size_t>(b)];
      if (head && head + region.numbersPerBlock > terms::kResultColumns) {
        throw Error(VbError::SubscriptOutOfRange, "block " + std::to_string(b) + " lies beyond column " +
                                                      std::to_string(terms::kResultColumns) + " of the results");
      }
    }
  // Sheet row r and column c as the table holds them.
  const auto row = [&](int32_t r) { return r - period.first + 1; };
  const auto column = [&](int32_t c) { return c - firstColumn + 1; };
  // The per-day set: a number is in today's set when its stamp is today's.
  std::array<int32_t, 1000> seenOn{};
  for (int32_t r = period.first; r <= period.last; ++r) {
    const int weekday = WeekdayOf(DateOf(dates(r, 1)));
    if (weekdayCode != kEveryDay && weekdayCode != weekday) continue;
    const auto& heads = marks[static_cast<size_t>(weekday)];
    const int32_t testHead = region.known() ? heads[static_cast<size_t>(region.first)] : 0;
    // A weekday on which the region's first block does not draw is no draw day.
    if (testHead == 0 || !cells.HasText(row(r), column(testHead + 1))) continue;
    ++result.dayCount;
    for (int b = region.first; b <= region.last; ++b) {
      const int32_t head = heads[static_cast<size_t>(b)];
      if (head == 0) break;
      for (int k = 1; k <= region.numbersPerBlock; ++k) {
        const int32_t lo = cells.LoOf(row(r), column(head + k), digits);
        const bool firstToday = seenOn[static_cast<size_t>(lo)] != r;
        seenOn[static_cast<size_t>(lo)] = r;
        result.counts.Add(lo, firstToday);
      }
    }
  }
  return result;
}

}  // namespace

LoCountResult CountLoInPeriod(const Block& dates, const PeriodRows& period, const CellTable& cells, int32_t firstColumn,
                              const BlockMarks& marks, int weekdayCode, const RegionBlocks& region, int digits) {
  if (const auto* values = dynamic_cast<const BlockCells*>(&cells)) {
    return CountCells(dates, period, *values, firstColumn, marks, weekdayCode, region, digits);
  }
  return CountCells(dates, period, cells, firstColumn, marks, weekdayCode, region, digits);
}

void CountLo(Session session, LoCounts& counts, DateSerial startDate, DateSerial endDate, const std::string& regionName,
             int32_t& dayCount, const std::string& numberType) {
  RequireKnownRegion(regionName);
  Worksheet& results = session.results();
  const int32_t lastRow = LastUsedRow(results, terms::kResultsFarCell);
  const int32_t firstRow = terms::kFirstResultRow;
  // A results sheet without data rows counts nothing.
  const Block dates =
      lastRow >= firstRow ? results.GetRange(FormatAddress({{firstRow, 1}, {lastRow, 1}}))->GetValue() : Block();
  const BlockMarks marks = MarkBlockColumns(session.settings().GetRange(terms::kRegionTable)->GetValue());
  const int digits = DigitCount(numberType);
  const int weekday = WeekdayCode(ToText(CellValue(session.control(), terms::kWeekdayCell)));
  const RegionBlocks region = RegionProfile(regionName);
  const PeriodRows period = FindPeriodRows(dates, startDate, endDate);
  std::unique_ptr<CellTable> cells = std::make_unique<BlockCells>(Block());
  if (!period.empty()) {
    const RangeRef rows{{firstRow + period.first - 1, region.firstColumn},
                        {firstRow + period.last - 1, region.lastColumn}};
    cells = results.GetRange(FormatAddress(rows))->GetCells();
  }
  const LoCountResult result =
      CountLoInPeriod(dates, period, *cells, region.firstColumn, marks, weekday, region, digits);
  counts = result.counts;
  dayCount = result.dayCount;
}

}  // namespace pradima
