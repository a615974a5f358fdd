#pragma once
#include <cstdint>
#include <iosfwd>
#include <vector>

#include "cli/draw_request.h"
#include "cli/report_format.h"
#include "selection/lo_repeats.h"

namespace pradima::cli {

// The request, the number of draw days, then the two-digit numbers' repeats
// (given by number): by number in CSV and JSON, the longest current streaks
// first in the table.
void PrintRoiReport(const DrawRequest& request, int32_t drawDays, const std::vector<LoRepeat>& repeats,
                    ReportFormat format, std::ostream& out);

}  // namespace pradima::cli
