#pragma once
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "base/date.h"
#include "cli/draw_request.h"
#include "cli/report_format.h"
#include "selection/lo_gaps.h"
#include "terms/lottery.h"

namespace pradima::cli {

// The request, the number of draw days, then the numbers' gaps in the order given.
void PrintGanReport(const DrawRequest& request, int32_t drawDays, const std::vector<LoGap>& gaps, int digits,
                    ReportFormat format, std::ostream& out);

}  // namespace pradima::cli
