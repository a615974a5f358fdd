// de: the special prize of each draw day and station, its last two digits
// (đề) laid out by week or by year, and their digits. Reads the workbook and
// never writes it.
#include "cli/commands.h"
#include "cli/de_report.h"
#include "cli/draw_request.h"
#include "selection/special_prizes.h"
#include "terms/lottery.h"

namespace pradima::cli {

int DeCommand(const Options& options, const ToolContext& context) {
  const RequestedDays read = ReadRequestedDays(options, context, std::string(terms::kTwoDigits));
  PrintDeReport(read.request, static_cast<int32_t>(read.days.size()), SpecialPrizesOf(read.days),
                options.by == "year" ? DeLayout::Year : DeLayout::Week, options.format, context.out);
  return 0;
}

}  // namespace pradima::cli
