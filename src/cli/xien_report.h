#pragma once
#include <iosfwd>
#include <vector>

#include "cli/draw_request.h"
#include "cli/report_format.h"
#include "selection/lo_together.h"

namespace pradima::cli {

// What xien was asked besides the draw days.
struct XienRequest {
  DrawRequest draws;
  int32_t size = 2;
  bool reverse = false;
};

// The request, the number of draw days, then the sets in the order given.
void PrintXienReport(const XienRequest& request, int32_t drawDays, const std::vector<LoTogether>& sets,
                     ReportFormat format, std::ostream& out);

}  // namespace pradima::cli
