#include "cli/sheet_binding.h"

#include <algorithm>

#include "terms/sheet_layout.h"

namespace pradima::cli {
namespace {

struct StandardTab {
  const char* codeName;
  const char* tabName;
};
// As pradima init names the sheets.
constexpr StandardTab kStandardTabs[] = {{terms::kResultsCodeName, terms::kResultsTabName},
                                         {terms::kSettingsCodeName, terms::kSettingsTabName},
                                         {terms::kControlCodeName, terms::kControlTabName}};

}  // namespace

std::vector<std::string> BindCodeNamesByTabNames(const std::vector<std::shared_ptr<MemorySheet>>& sheets) {
  std::vector<std::string> bound;
  if (std::any_of(sheets.begin(), sheets.end(), [](const auto& sheet) { return !sheet->codeName().empty(); }))
    return bound;
  for (const StandardTab& tab : kStandardTabs) {
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
