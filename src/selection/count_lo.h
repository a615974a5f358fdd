#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/date.h"
#include "session/session.h"
#include "session/value.h"
#include "terms/lottery.h"

namespace pradima {

// How often each number 0 to 999 appeared: on how many draw days, and how
// many times in all. A number never seen has no counts (not 0).
class LoCounts {
 public:
  LoCounts() { days_.fill(0), appearances_.fill(0); }
  // Counts only ever start at 1, so 0 stands for "never seen".
  std::optional<int32_t> days(int32_t number) const { return Get(days_, number); }
  std::optional<int32_t> appearances(int32_t number) const { return Get(appearances_, number); }
  void Add(int32_t number, bool firstToday) {
    days_[static_cast<size_t>(number)] += firstToday ? 1 : 0;
    ++appearances_[static_cast<size_t>(number)];
  }

 private:
  static std::optional<int32_t> Get(const std::array<int32_t, 1000>& counts, int32_t number) {
    const int32_t count = counts[static_cast<size_t>(number)];
    return count ? std::optional<int32_t>(count) : std::nullopt;
  }
  std::array<int32_t, 1000> days_;
  std::array<int32_t, 1000> appearances_;
};

struct RegionBlocks {
  int first = 0;  // block numbers: 1 to 3 Central, 4 to 7 South, 8 North
  int last = 0;
  int numbersPerBlock = 0;
  int32_t firstColumn = 0;  // the region's columns of the results sheet
  int32_t lastColumn = 0;
  bool known() const { return first != 0; }
};

// Region name (Unicode, exact) to its blocks; an unknown name gives all 0.
// With the three-digit prizes only, a block's numbers end before its
// two-digit prizes, which are its last cells.
RegionBlocks RegionProfile(std::string_view regionName, terms::Prizes prizes = terms::Prizes::All);
// Weekday name (Unicode, exact) to 1 (Sunday) to 7; any other text gives 8, every day.
int WeekdayCode(std::string_view weekdayText);
// "2 Con" gives 2, "3 Con" gives 3, anything else 0.
int DigitCount(std::string_view numberType);

// The region table with each mark (the number 1) replaced by its block's
// head column; anything else is unmarked (0). Index [weekday][block], 1-based.
using BlockMarks = std::array<std::array<int32_t, 9>, 8>;
BlockMarks MarkBlockColumns(const Block& regionTable);

struct LoCountResult {
  LoCounts counts;
  int32_t dayCount = 0;
};

// The rows of a period in a column of dates (row 1 is the first data row of
// the results sheet): one run, found upward from the last row. A date that
// cannot be read, or a blank one, raises an error with the cell's address.
struct PeriodRows {
  int32_t first = 1;
  int32_t last = 0;
  bool empty() const { return last < first; }
  int32_t count() const { return last - first + 1; }
};
PeriodRows FindPeriodRows(const Block& dates, DateSerial start, DateSerial end);

// Counts the lô of the period's draws on weekday `weekdayCode` (8: every
// day) for the region's blocks. `dates` is column A of the data rows,
// `cells` the period's rows of the results sheet from column `firstColumn`
// on, as far as the region's columns go.
LoCountResult CountLoInPeriod(const Block& dates, const PeriodRows& period, const CellTable& cells, int32_t firstColumn,
                              const BlockMarks& marks, int weekdayCode, const RegionBlocks& region, int digits);

// What a report of a period reads from the workbook: the dates of the results
// sheet, the region table CaiDatMien and the weekday cell B5 of the control
// sheet, then the period's rows of the region's columns only; four reads,
// each one call. A host may hand out `cells` as a view of its own cells:
// they are to be read before the run writes anything to the workbook.
struct PeriodCells {
  Block dates;
  BlockMarks marks{};
  int weekdayCode = 0;
  RegionBlocks region;
  PeriodRows period;
  std::unique_ptr<CellTable> cells;
};
PeriodCells ReadPeriodCells(Session session, DateSerial startDate, DateSerial endDate, const std::string& regionName,
                            terms::Prizes prizes = terms::Prizes::All);

// Reads the dates of the results sheet, the region table CaiDatMien and the
// weekday cell B5 of the control sheet, then the period's rows of the
// region's columns only: four reads, each one call. Then counts `prizes`.
void CountLo(Session session, LoCounts& counts, DateSerial startDate, DateSerial endDate, const std::string& regionName,
             int32_t& dayCount, const std::string& numberType, terms::Prizes prizes = terms::Prizes::All);

// "Miền Bắc", "Miền Trung", "Miền Nam".
const std::array<std::string, 3>& RegionNames();
// Raises a clear error quoting a region name that is none of the three.
void RequireKnownRegion(std::string_view regionName);

}  // namespace pradima
