#include "cli/book.h"

#include <ostream>

#include "base/error.h"
#include "cli/sheet_binding.h"
#include "cli/translate.h"
#include "terms/sheet_layout.h"

namespace pradima::cli {

const RequiredSheet kResultsSheet{terms::kResultsCodeName, TrLater("the results sheet")};
const RequiredSheet kSettingsSheet{terms::kSettingsCodeName, TrLater("the settings sheet")};
const RequiredSheet kControlSheet{terms::kControlCodeName, TrLater("the control sheet")};

XlsxWorkbook OpenBook(const std::string& path, std::ostream& err, bool saves,
                      std::initializer_list<const RequiredSheet*> sheets) {
  xlsx::SheetChoice choice{{}, {terms::kResultsTabName, terms::kSettingsTabName, terms::kControlTabName}};
  for (const RequiredSheet* sheet : sheets) choice.codeNames.emplace_back(sheet->codeName);
  XlsxWorkbook workbook = XlsxWorkbook::Open(path, saves ? xlsx::FileAccess::Write : xlsx::FileAccess::Read, choice);
  const std::vector<std::string> tabs = BindCodeNamesByTabNames(workbook.book()->sheets());
  if (!tabs.empty()) {
    std::string names;
    for (const std::string& tab : tabs) names += (names.empty() ? "" : ", ") + tab;
    err << "pradima: "
        << (saves ? TrFormat("{1} has no code names for its sheets (some applications drop them when they save); the "
                             "sheets {2} are taken by their tab names, and their code names are written back",
                             {path, names})
                  : TrFormat("{1} has no code names for its sheets (some applications drop them when they save); the "
                             "sheets {2} are taken by their tab names; this command does not change the file",
                             {path, names}))
        << "\n";
  }
  return workbook;
}

void RequireLayout(const MemoryWorkbook& book, const std::string& path,
                   std::initializer_list<const RequiredSheet*> sheets, std::initializer_list<const char*> names) {
  for (const RequiredSheet* sheet : sheets) {
    if (!book.SheetByCodeName(sheet->codeName)) {
      throw Error(VbError::ObjectNotSet, TrFormat("{1} has no worksheet with code name {2} ({3}); {4}",
                                                  {path, sheet->codeName, Tr(sheet->what), Tr(kCodeNameRemedy)}));
    }
  }
  for (const char* name : names) {
    if (!book.FindName(name))
      throw Error(VbError::ApplicationDefined, TrFormat("{1} has no workbook name {2}", {path, name}));
  }
}

Session Bind(const std::shared_ptr<MemoryWorkbook>& book) {
  Session session;
  session.SetApplication(std::make_shared<MemoryApplication>());
  session.SetWorkbook(book);
  session.BindSheets();
  return session;
}

}  // namespace pradima::cli
