#pragma once
#include <string>
#include <vector>

#include "session/memory_workbook.h"

namespace pradima::xlsx {

// A drop-down list of fixed items on one cell of a sheet.
struct DropDownList {
  std::string codeName;   // of the sheet
  std::string cell;       // "B3"
  std::vector<std::string> items;
};

// A new workbook file holding `layout`: its sheets in order with their tab
// and code names, their cells, its names, and the drop-down lists; an .xlsm
// file is a macro-enabled package. The file is there whole or not at all.
// Refuses to overwrite an existing file and a name that is neither .xlsx
// nor .xlsm.
void CreateWorkbookFile(const std::string& path, const MemoryWorkbook& layout, const std::vector<DropDownList>& lists);

}  // namespace pradima::xlsx
