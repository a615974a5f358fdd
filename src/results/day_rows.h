#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "session/host.h"
#include "session/value.h"
#include "terms/lottery.h"

namespace pradima {

// The column before a region's first station block, from which its stations' prizes are placed.
inline constexpr int32_t kCentralBaseColumn = terms::kCentral.firstColumn - 1;
inline constexpr int32_t kSouthBaseColumn = terms::kSouth.firstColumn - 1;

// Reads a position table ("Bang1" to "Bang4") of the settings sheet.
using PositionTableReader = std::function<Block(const char* name)>;

// Writes the stations of one Central or South page into row `row` of the
// day table, from its pieces and the position table the piece count selects.
void WriteStationBlocks(Block& dayTable, int32_t row, const std::vector<std::string_view>& pieces, int32_t baseColumn,
                        const PositionTableReader& readPositionTable);

// The results sheet holds one row per day: its date, its weekday label, the
// day's station names from the settings sheet's table BangDai, and the
// prizes of its North, Central and South pages. This builds such rows in a
// block, one page at a time.
class DayRowBuilder {
 public:
  // Reads BangDai from the settings sheet; the position tables are read
  // when a page needs one, as the workbook may change them between pages.
  explicit DayRowBuilder(Worksheet& settings);

  // Starts row `row` of `rows` for the day: date, weekday label and station names.
  void Begin(Block& rows, int32_t row, const CivilDate& day) const;
  // Places the prizes of a region's page into row `row`; a page without
  // results leaves the region empty, a damaged one raises Error.
  void AddPage(Block& rows, int32_t row, const terms::Region& region, const std::string& page) const;

 private:
  Worksheet& settings_;
  Block stationNames_;
};

}  // namespace pradima
