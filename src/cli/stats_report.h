#pragma once
#include <iosfwd>

#include "cli/report_format.h"
#include "session/memory_workbook.h"
#include "terms/lottery.h"

namespace pradima::cli {

// The control sheet after a count, as CSV (number, days, appearances) or
// JSON (the request with the prizes counted, the count of draw days and the
// rows); counts are numbers, a number never drawn has none (an empty field,
// null). A blank entry of the list has no row.
void PrintStatsReport(const MemorySheet& control, int32_t drawDays, terms::Prizes prizes, ReportFormat format,
                      std::ostream& out);

}  // namespace pradima::cli
