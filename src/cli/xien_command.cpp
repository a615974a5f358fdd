// xien: the numbers that come together on one draw day. Reads the workbook
// and never writes it.
#include "cli/commands.h"
#include "cli/draw_request.h"
#include "cli/xien_report.h"
#include "selection/lo_together.h"

namespace pradima::cli {

int XienCommand(const Options& options, const ToolContext& context) {
  const RequestedDays read = ReadRequestedDays(options, context, std::string(terms::kTwoDigits));
  const XienRequest request{read.request, options.size, options.reverse};
  const std::vector<LoTogether> sets =
      options.reverse ? ReversePairsOf(read.days, options.top) : LoTogetherOf(read.days, options.size, options.top);
  PrintXienReport(request, static_cast<int32_t>(read.days.size()), sets, options.format, context.out);
  return 0;
}

}  // namespace pradima::cli
