#pragma once
// What the commands that read the draw days and never write the workbook
// share (gan, de, xien, roi, bacnho): the request taken from the options and
// the control sheet, the period defaulting to the stored draws, and the draw
// days it selects.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/date.h"
#include "cli/commands.h"
#include "selection/draw_days.h"
#include "session/memory_workbook.h"
#include "terms/lottery.h"

namespace pradima::cli {

// What was asked, as it ran: the period's ends are none when the results
// sheet holds no draw to default them to.
struct DrawRequest {
  std::optional<CivilDate> from, to;
  std::string region, weekday, type;
  std::string station;  // empty: every station of the region
  int32_t top = 20;
  terms::Prizes prizes = terms::Prizes::All;
};

struct RequestedDays {
  DrawRequest request;
  std::vector<DrawDay> days;
};

// Opens the workbook to read, sets the options given into its control sheet
// in memory only, and reads the period's draw days (the one station's with
// --station). `type` is the number type a command always counts ("2 Con"
// for the statistics of two-digit lô); none takes --type, then B6. Raises
// UsageError for a period whose given end crosses the stored draws, a
// station outside the Central and South regions or one no day of the
// period holds (naming those it holds).
RequestedDays ReadRequestedDays(const Options& options, const ToolContext& context,
                                const std::optional<std::string>& type = std::nullopt);
// The same on a workbook already open and checked, whose control sheet the
// options are set into; nothing of it is saved here.
RequestedDays ReadRequestedDaysIn(const std::shared_ptr<MemoryWorkbook>& book, const Options& options,
                                  const ToolContext& context, const std::optional<std::string>& type = std::nullopt);

// Says on `err` that the results sheet of `book` (the file `path`) holds no
// draw yet, and the command that fetches them; says nothing when it has one.
void WarnOfNoDraws(const MemoryWorkbook& book, const std::string& path, std::ostream& err);

}  // namespace pradima::cli
