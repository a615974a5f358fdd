#pragma once
#include <string>
#include <vector>

#include "xlsx/cell_formats.h"
#include "xlsx/worksheet_read.h"
#include "session/memory_workbook.h"

namespace pradima::xlsx {

struct RewrittenSheet {
  std::string xml;
  bool formulaWent = false;  // from a cell that the run cleared or overwrote
};

// The worksheet part `original` (named `part` in errors) with the cell
// values of `sheet` in place of its own. Everything else of the part stays:
// row formats, cell formats, formatted empty cells, and the cells whose
// value did not change as they stood (formulas, rich text and all); a shared
// formula stays sound when its first cell goes (see KeepSharedFormulasSound). A date goes into a cell whose format
// shows a date, taking the workbook's first date format where its own does not. The sheet's code name goes into
// <sheetPr> where the part has another or none.
// Rows whose cells did not change are copied as the part had them.
// `layout`: where the rows of `original` stand, as scanned when the sheet was
// loaded from it, whose changed_rows() since tell the changed rows; none to
// scan the part here and compare each row.
RewrittenSheet RewriteSheetXml(const std::string& original, const std::string& part, const MemorySheet& sheet,
                               const CellFormats& formats, const std::vector<std::string>& sharedStrings,
                               const WorksheetLayout* layout = nullptr);

// The same through a document tree of the whole part, which every row goes
// through: the way for parts the one-pass scan does not read, and the
// measure of the faster way.
RewrittenSheet RewriteSheetXmlByTree(const std::string& original, const std::string& part, const MemorySheet& sheet,
                                     const CellFormats& formats, const std::vector<std::string>& sharedStrings);

}  // namespace pradima::xlsx
