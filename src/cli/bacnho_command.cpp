// bacnho: what came on the draw day after the days that had given numbers.
// Reads the workbook and never writes it.
#include <ostream>

#include "cli/bacnho_report.h"
#include "cli/commands.h"
#include "cli/draw_request.h"
#include "cli/translate.h"
#include "selection/lo_after.h"

namespace pradima::cli {

int BacnhoCommand(const Options& options, const ToolContext& context) {
  if (!options.after)
    throw UsageError{Tr("bacnho needs --after, the two-digit numbers to follow (\"27\" or \"27,72\")"),
                     options.command};
  const RequestedDays read = ReadRequestedDays(options, context, std::string(terms::kTwoDigits));
  LoFollowers followers = FollowersOf(read.days, *options.after, 2);
  if (followers.numbers.size() > static_cast<size_t>(options.top))
    followers.numbers.resize(static_cast<size_t>(options.top));
  PrintBacnhoReport(read.request, *options.after, static_cast<int32_t>(read.days.size()), followers, options.format,
                    context.out);
  return 0;
}

}  // namespace pradima::cli
