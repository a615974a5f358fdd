#pragma once
#include <iosfwd>
#include <vector>

#include "cli/draw_request.h"
#include "cli/report_format.h"
#include "selection/special_prizes.h"

namespace pradima::cli {

// How the table lays out the đề: weeks down, or one table per year.
enum class DeLayout { Week, Year };

// The special prizes of the draw days: the table (the request, the đề laid
// out, then how often each đầu, đuôi and tổng came), CSV (one row per prize)
// or JSON (the request, the rows and the three counts).
void PrintDeReport(const DrawRequest& request, int32_t drawDays, const std::vector<SpecialPrize>& prizes,
                   DeLayout layout, ReportFormat format, std::ostream& out);

}  // namespace pradima::cli
