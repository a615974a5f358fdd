// numbers: as the workbook's button does, B6 takes the type, then the list
// of the set named in B4 is laid out for it.
#include <ostream>

#include "cli/book.h"
#include "cli/commands.h"
#include "cli/control_sheet.h"
#include "cli/translate.h"
#include "selection/number_type.h"
#include "session/conversions.h"
#include "terms/sheet_layout.h"

namespace pradima::cli {

int NumbersCommand(const Options& options, const ToolContext& context) {
  const std::string& type = *options.type;
  XlsxWorkbook workbook = OpenBook(options.book, context.err);
  RequireLayout(*workbook.book(), options.book, kEverySheet, {});
  const auto control = workbook.book()->SheetByCodeName(terms::kControlCodeName);
  SetCellAt(*control, terms::kNumberTypeCell, Value::Text(type));
  ApplyNumberType(Bind(workbook.book()), type);
  workbook.Save();
  context.out << TrFormat("laid out {1} numbers of the set \"{2}\" as \"{3}\" from {4} of the control sheet, and {5} is "
                          "\"{3}\"",
                          {std::to_string(ListedCount(*control)), ToText(CellAt(*control, terms::kNumberSetCell)),
                           type, terms::kListFirstCell, terms::kNumberTypeCell})
              << "\n";
  return 0;
}

}  // namespace pradima::cli
