#pragma once
#include <iosfwd>

#include "cli/report_format.h"
#include "session/memory_workbook.h"

namespace pradima::cli {

// The control sheet after a count, as CSV (number, days, appearances) or
// JSON (the request, the count of draw days and the rows); counts are numbers, a
// number never drawn has none (an empty field, null).
void PrintStatsReport(const MemorySheet& control, int32_t drawDays, ReportFormat format, std::ostream& out);

}  // namespace pradima::cli
