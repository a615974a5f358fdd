#pragma once
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "base/date.h"
#include "cli/report_format.h"
#include "selection/lo_gaps.h"
#include "terms/lottery.h"

namespace pradima::cli {

// What gan was asked, as it ran: the period's ends are none when the
// results sheet holds no draw to default them to.
struct GanRequest {
  std::optional<CivilDate> from, to;
  std::string region, weekday, type;
  int32_t top = 20;
  terms::Prizes prizes = terms::Prizes::All;
};

// The request, the number of draw days, then the numbers' gaps in the order given.
void PrintGanReport(const GanRequest& request, int32_t drawDays, const std::vector<LoGap>& gaps, int digits,
                    ReportFormat format, std::ostream& out);

}  // namespace pradima::cli
