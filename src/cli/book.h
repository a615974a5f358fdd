#pragma once
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <string>

#include "session/memory_workbook.h"
#include "session/session.h"
#include "xlsx/xlsx_workbook.h"

namespace pradima::cli {

using xlsx::XlsxWorkbook;

// A worksheet a command needs, by code name, and how the errors name it.
struct RequiredSheet {
  const char* codeName;
  const char* what;
};
extern const RequiredSheet kResultsSheet, kSettingsSheet, kControlSheet;
inline constexpr std::initializer_list<const RequiredSheet*> kEverySheet = {&kResultsSheet, &kSettingsSheet,
                                                                            &kControlSheet};

// The workbook at `path`, to change (`saves`) or only to read, with the
// worksheets `sheets` and no other read. Sheets without code names are
// taken by the tab names pradima init gives (all three, so that their code
// names are written back together), which `err` is told, and a run that
// saves writes the code names back.
XlsxWorkbook OpenBook(const std::string& path, std::ostream& err, bool saves = true,
                      std::initializer_list<const RequiredSheet*> sheets = kEverySheet);

// Raises an error naming the first sheet or workbook name that `book` lacks.
void RequireLayout(const MemoryWorkbook& book, const std::string& path,
                   std::initializer_list<const RequiredSheet*> sheets, std::initializer_list<const char*> names);

// A session on the workbook, as the spreadsheet's macros would bind it.
Session Bind(const std::shared_ptr<MemoryWorkbook>& book);

}  // namespace pradima::cli
