#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "selection/count_lo.h"

namespace pradima {

// One block of a draw day's row: a station of the Central or South region,
// or the North's draw.
struct DrawBlock {
  int block = 0;        // 1 to 3 Central, 4 to 7 South, 8 North
  std::string station;  // its head cell's text, the station's name; empty for the North
  std::string special;  // the special prize as stored, the cell after the head; empty when blank
  bool drew = false;    // whether that cell holds anything: the station drew that day
  size_t firstNumber = 0;  // where its numbers begin in DrawDay::numbers
  size_t numberCount = 0;
};

// One draw day of a period: its date and every lô read that day, in the
// order of the blocks and their cells (a number drawn twice is there twice),
// and the blocks the region table marks for that weekday, in block order.
struct DrawDay {
  DateSerial date = 0;
  std::vector<int32_t> numbers;
  std::vector<DrawBlock> blocks;
};

// The draw days of a period, oldest first, by exactly the rules of
// CountLoInPeriod (same arguments): the weekday selection, the region's
// marked blocks, and the test cell of its first block.
std::vector<DrawDay> DrawDaysInPeriod(const Block& dates, const PeriodRows& period, const CellTable& cells,
                                      int32_t firstColumn, const BlockMarks& marks, int weekdayCode,
                                      const RegionBlocks& region, int digits);

// As CountLo reads the workbook (the weekday from the control sheet's cell),
// the draw days of the period instead of their counts. Reads only.
std::vector<DrawDay> ReadDrawDays(Session session, DateSerial startDate, DateSerial endDate,
                                  const std::string& regionName, const std::string& numberType,
                                  terms::Prizes prizes = terms::Prizes::All);

// The days on which the station named `station` (its head cell's text,
// exactly) drew, each with that station's block and numbers only.
std::vector<DrawDay> OnlyStation(const std::vector<DrawDay>& days, std::string_view station);

// The names of the stations that drew on the days, in the order they first
// appear, each once: what a request for one station may name.
std::vector<std::string> StationsOf(const std::vector<DrawDay>& days);

}  // namespace pradima
