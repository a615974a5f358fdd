#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/date.h"
#include "session/session.h"
#include "session/value.h"

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
  bool known() const { return first != 0; }
};

// Region name (Unicode, exact) to its blocks; an unknown name gives all 0.
RegionBlocks RegionProfile(std::string_view regionName);
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

// Counts the lô of the draws in a results block (row r is sheet row r + 4,
// column c sheet column c) dated within [start, end], on weekday
// `weekdayCode` (8: every day), for the region's blocks.
LoCountResult CountLoInBlock(const Block& results, const BlockMarks& marks, int weekdayCode, const RegionBlocks& region,
                             int digits, DateSerial start, DateSerial end);

// Reads the results block, the region table CaiDatMien and the weekday cell
// B5 of the control sheet, each with one call, and counts.
void CountLo(Session session, LoCounts& counts, DateSerial startDate, DateSerial endDate, const std::string& regionName,
             int32_t& dayCount, const std::string& numberType);

// "Miền Bắc", "Miền Trung", "Miền Nam".
const std::array<std::string, 3>& RegionNames();
// Raises a clear error quoting a region name that is none of the three.
void RequireKnownRegion(std::string_view regionName);

}  // namespace pradima
