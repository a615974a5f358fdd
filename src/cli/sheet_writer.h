#pragma once
#include <string>

#include "cli/cell_formats.h"
#include "session/memory_workbook.h"

namespace pradima::cli {

// The worksheet part `original` (named `part` in errors) with the cell
// values of `sheet` in place of its own. Everything else of the part stays:
// row formats, cell formats, formatted empty cells and the formulas of cells
// whose value did not change. A date goes into a cell whose format shows
// a date, taking the workbook's first date format where its own does not.
// The sheet's code name goes into <sheetPr> where the part has another or none.
std::string RewriteSheetXml(const std::string& original, const std::string& part, const MemorySheet& sheet,
                            const CellFormats& formats);

}  // namespace pradima::cli
