// init: a new workbook laid out as the engine expects, with drop-down lists
// for the request on the control sheet.
#include <ostream>

#include "cli/commands.h"
#include "cli/translate.h"
#include "session/standard_workbook.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "text/telex.h"
#include "xlsx/new_workbook.h"

namespace pradima::cli {
namespace {

// The control sheet's lists: region, number set, weekday, number type.
std::vector<xlsx::DropDownList> ControlSheetLists() {
  std::vector<std::string> weekdays, regions;
  for (const char* telex : terms::kWeekdayTelexNames) weekdays.push_back(TelexToUnicode(telex));
  weekdays.push_back(TelexToUnicode(terms::kEveryDayTelex));
  for (const terms::Region& region : terms::kRegions) regions.push_back(TelexToUnicode(region.telexName));
  const std::vector<std::string> sets{TelexToUnicode(terms::kDoublesTelex), terms::kFullSet,
                                      TelexToUnicode(terms::kCustomTelex)};
  const std::string control = terms::kControlCodeName;
  return {{control, terms::kRegionCell, regions},
          {control, terms::kNumberSetCell, sets},
          {control, terms::kWeekdayCell, weekdays},
          {control, terms::kNumberTypeCell, {terms::kTwoDigits, terms::kThreeDigits}}};
}

}  // namespace

void CreateStandardWorkbook(const std::string& path, const CivilDate& today) {
  xlsx::CreateWorkbookFile(path, *NewStandardWorkbook(today), ControlSheetLists());
}

int InitCommand(const Options& options, const ToolContext& context) {
  CreateStandardWorkbook(options.book, context.clock().date);
  context.err << TrFormat("created {1}", {options.book}) << "\n";
  return 0;
}

}  // namespace pradima::cli
