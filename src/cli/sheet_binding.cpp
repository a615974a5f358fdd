#include "cli/sheet_binding.h"

#include <algorithm>

#include "terms/sheet_layout.h"
#include "text/telex.h"

namespace pradima::cli {
namespace {

struct StandardTab {
  const char* codeName;
  std::string tabName;
};
// As pradima init names the sheets.
const std::vector<StandardTab>& StandardTabs() {
  static const std::vector<StandardTab> tabs{{terms::kResultsCodeName, terms::kResultsTabName},
                                             {terms::kSettingsCodeName, terms::kSettingsTabName},
                                             {terms::kControlCodeName, terms::kControlTabName},
                                             {terms::kTablesCodeName, TelexToUnicode(terms::kTablesTabTelex)}};
  return tabs;
}

}  // namespace

std::vector<std::string> BindCodeNamesByTabNames(const std::vector<std::shared_ptr<MemorySheet>>& sheets) {
  std::vector<std::string> bound;
  if (std::any_of(sheets.begin(), sheets.end(), [](const auto& sheet) { return !sheet->codeName().empty(); }))
    return bound;
  for (const StandardTab& tab : StandardTabs()) {
    for (const auto& sheet : sheets) {
      if (sheet->tabName() != tab.tabName) continue;
      sheet->setCodeName(tab.codeName);
      sheet->MarkModified();
      bound.push_back(tab.tabName);
      break;
    }
  }
  return bound;
}

}  // namespace pradima::cli
