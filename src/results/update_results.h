#pragma once
#include <functional>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/date.h"
#include "results/page_fetcher.h"
#include "session/session.h"
#include "session/value.h"
#include "terms/lottery.h"

namespace pradima {

// Called after each day is fetched: days done, days to do, the day.
using UpdateProgress = std::function<void(int done, int total, const CivilDate& day)>;

// The column before a region's first station block, from which its stations' prizes are placed.
inline constexpr int32_t kCentralBaseColumn = terms::kCentral.firstColumn - 1;
inline constexpr int32_t kSouthBaseColumn = terms::kSouth.firstColumn - 1;

// Appends one row per missing day, up to today from 18:41 or yesterday
// before, to the results sheet: the North, Central and South pages of each
// day fetched from site (scheme, host and optional port) in date order, and
// every row written in one block at the end, or nothing at all when any
// page fails. Works on its own copy of the session (see Session).
void UpdateResults(Session session, PageFetcher& fetcher, const Clock& clock, std::string_view site,
                   const UpdateProgress& progress = {});

// Reads a position table ("Bang1" to "Bang4") of the settings sheet.
using PositionTableReader = std::function<Block(const char* name)>;

// Writes the stations of one Central or South page into row `row` of the
// day table, from its pieces and the position table the piece count selects.
void WriteStationBlocks(Block& dayTable, int32_t row, const std::vector<std::string_view>& pieces, int32_t baseColumn,
                        const PositionTableReader& readPositionTable);

// The page URL of a region ("2" North, "3" Central, "1" South) and a day.
std::string PageUrl(std::string_view site, char region, const CivilDate& day);

}  // namespace pradima
