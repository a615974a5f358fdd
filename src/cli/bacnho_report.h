#pragma once
#include <cstdint>
#include <iosfwd>
#include <vector>

#include "cli/draw_request.h"
#include "cli/report_format.h"
#include "selection/lo_after.h"

namespace pradima::cli {

// The request with the numbers followed, the number of draw days and of
// trigger days, then the followers in the order given.
void PrintBacnhoReport(const DrawRequest& request, const std::vector<int32_t>& after, int32_t drawDays,
                       const LoFollowers& followers, ReportFormat format, std::ostream& out);

}  // namespace pradima::cli
