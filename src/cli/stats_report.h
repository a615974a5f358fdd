#pragma once
#include <iosfwd>
#include <optional>
#include <string>

#include "cli/report_format.h"
#include "selection/heads_and_tails.h"
#include "session/memory_workbook.h"
#include "terms/lottery.h"

namespace pradima::cli {

// The control sheet after a count, as CSV (number, days, appearances) or
// JSON (the request with the prizes counted and the station, null for every
// station; the count of draw days, the rows, then "dau" and "duoi": the
// appearances by first and by last digit, ten each, as the table shows them
// for "2 Con"; null for "3 Con", whose numbers have no one đầu and đuôi);
// counts are numbers, a number never drawn has none (an empty field, null).
// A blank entry of the list has no row.
void PrintStatsReport(const MemorySheet& control, int32_t drawDays, terms::Prizes prizes, const std::string& station,
                      const std::optional<HeadsAndTails>& headsAndTails, ReportFormat format, std::ostream& out);

}  // namespace pradima::cli
