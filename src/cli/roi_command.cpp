// roi: how each two-digit number comes again on the next draw day. Reads the
// workbook and never writes it.
#include <ostream>

#include "cli/commands.h"
#include "cli/draw_request.h"
#include "cli/roi_report.h"
#include "selection/lo_repeats.h"

namespace pradima::cli {

int RoiCommand(const Options& options, const ToolContext& context) {
  const RequestedDays read = ReadRequestedDays(options, context, std::string(terms::kTwoDigits));
  PrintRoiReport(read.request, static_cast<int32_t>(read.days.size()), RepeatsOf(read.days, 2), options.format,
                 context.out);
  return 0;
}

}  // namespace pradima::cli
