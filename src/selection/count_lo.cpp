#include "selection/count_lo.h"

#include <vector>

#include "base/error.h"
#include "selection/draw_walk.h"
#include "session/address.h"
#include "session/conversions.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "text/telex.h"

namespace pradima {
namespace {

using terms::kEveryDay;

}  // namespace

const std::array<std::string, 3>& RegionNames() {
  static const std::array<std::string, 3> kNames = {TelexToUnicode(terms::kRegions[0].telexName),
                                                    TelexToUnicode(terms::kRegions[1].telexName),
                                                    TelexToUnicode(terms::kRegions[2].telexName)};
  return kNames;
}

RegionBlocks RegionProfile(std::string_view regionName, terms::Prizes prizes) {
  const auto& names = RegionNames();
  for (size_t i = 0; i < names.size(); ++i) {
    const terms::Region& region = terms::kRegions[i];
    if (regionName == names[i]) {
      const int numbers = prizes == terms::Prizes::All ? region.numbersPerBlock : region.threeDigitPrizes;
      return {region.firstBlock, region.lastBlock, numbers, region.firstColumn, region.lastColumn};
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
  static const std::vector<std::string> kNames = [] {
    std::vector<std::string> converted;
    converted.reserve(terms::kWeekdayTelexNames.size());
    for (const char* name : terms::kWeekdayTelexNames) converted.push_back(TelexToUnicode(name));
    return converted;
  }();
  for (int code = 1; code <= 7; ++code)
    if (weekdayText == kNames[static_cast<size_t>(code - 1)]) return code;
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
  // A date the count cannot read is named by its cell, so the user can find
  // it; so is a blank one, which would otherwise end the period unseen.
  const auto dateAt = [&](int32_t r) {
    const Value& cell = dates(r, 1);
    const auto where = [r] { return "the results sheet's " + CellAddress(terms::kFirstResultRow + r - 1, 1); };
    if (!HasText(cell))
      throw Error(VbError::TypeMismatch,
                  where() + ": the date is blank, in a row inside the results; type that day's date there");
    try {
      return DateOfCell(cell);
    } catch (const Error& e) {
      throw e.WithContext(where());
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
  // The per-day set: a number is in today's set when its stamp is today's row.
  std::array<int32_t, 1000> seenOn{};
  WalkDrawDays(
      dates, period, cells, firstColumn, marks, weekdayCode, region, digits,
      [&](int32_t, DateSerial) { ++result.dayCount; },
      [&](int32_t r, int32_t lo) {
        const bool firstToday = seenOn[static_cast<size_t>(lo)] != r;
        seenOn[static_cast<size_t>(lo)] = r;
        result.counts.Add(lo, firstToday);
      });
  return result;
}

}  // namespace

LoCountResult CountLoInPeriod(const Block& dates, const PeriodRows& period, const CellTable& cells, int32_t firstColumn,
                              const BlockMarks& marks, int weekdayCode, const RegionBlocks& region, int digits) {
  if (const auto* values = dynamic_cast<const BlockCells*>(&cells)) {
    return CountCells(dates, period, *values, firstColumn, marks, weekdayCode, region, digits);
  }
  if (const auto* rows = dynamic_cast<const RowCells*>(&cells)) {
    return CountCells(dates, period, *rows, firstColumn, marks, weekdayCode, region, digits);
  }
  return CountCells(dates, period, cells, firstColumn, marks, weekdayCode, region, digits);
}

PeriodCells ReadPeriodCells(Session session, DateSerial startDate, DateSerial endDate, const std::string& regionName,
                            terms::Prizes prizes) {
  RequireKnownRegion(regionName);
  Worksheet& results = session.results();
  const int32_t lastRow = LastUsedRow(results, terms::kResultsFarCell);
  const int32_t firstRow = terms::kFirstResultRow;
  PeriodCells read;
  // A results sheet without data rows counts nothing.
  if (lastRow >= firstRow) read.dates = results.GetRange(FormatAddress({{firstRow, 1}, {lastRow, 1}}))->GetValue();
  read.marks = MarkBlockColumns(session.settings().GetRange(terms::kRegionTable)->GetValue());
  read.weekdayCode = WeekdayCode(ToText(CellValue(session.control(), terms::kWeekdayCell)));
  read.region = RegionProfile(regionName, prizes);
  read.period = FindPeriodRows(read.dates, startDate, endDate);
  read.cells = std::make_unique<BlockCells>(Block());
  if (!read.period.empty()) {
    const RangeRef rows{{firstRow + read.period.first - 1, read.region.firstColumn},
                        {firstRow + read.period.last - 1, read.region.lastColumn}};
    read.cells = results.GetRange(FormatAddress(rows))->GetCells();
  }
  return read;
}

void CountLo(Session session, LoCounts& counts, DateSerial startDate, DateSerial endDate, const std::string& regionName,
             int32_t& dayCount, const std::string& numberType, terms::Prizes prizes) {
  const PeriodCells read = ReadPeriodCells(session, startDate, endDate, regionName, prizes);
  const LoCountResult result = CountLoInPeriod(read.dates, read.period, *read.cells, read.region.firstColumn,
                                               read.marks, read.weekdayCode, read.region, DigitCount(numberType));
  counts = result.counts;
  dayCount = result.dayCount;
}

}  // namespace pradima
