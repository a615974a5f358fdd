#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "xlsx/cell_xml.h"
#include "session/value.h"

namespace pradima::xlsx {

// A worksheet part as the loader needs it: the sheet's code name and its
// rows, each as the run of its cells from column A, in the order of the file.
struct ScannedWorksheet {
  std::string codeName;
  std::vector<std::pair<int32_t, std::vector<Value>>> rows;
};

// Where a worksheet part's rows stand in its text, for a writer that keeps
// the rows that did not change as they are.
struct RowText {
  int32_t row = 0;
  size_t begin = 0, end = 0;  // the row element, start tag to end tag
  // Its cells in the order of the file: the index into ScannedWorksheet::rows
  // of the values it holds, or none when it holds none.
  std::optional<size_t> values;
  // The first and last column of its cell elements, empty ones included.
  int32_t firstColumn = 0, lastColumn = 0;
  // Whether the row and each of its cells name their place (r) and its
  // cells stand in ascending columns of the sheet, none twice: as a writer
  // would write the row anew.
  bool plain = false;
};
struct WorksheetLayout {
  size_t dataBegin = 0, dataEnd = 0;    // the content of <sheetData>, between its tags
  bool dataElement = false;             // whether <sheetData> has both tags
  bool formulaKinds = false;            // whether a formula says its kind (t="shared", "array")
  std::vector<RowText> rows;            // in the order of the file
};

// Reads a worksheet part in one pass over its text, without building a
// document tree: a results sheet of twenty years holds millions of cells,
// and a tree of them costs ten times the memory of the values. Gives none
// for any part it leaves to the full parser (another encoding, a document
// type, a reference the parser keeps as text, a root other than a worksheet,
// markup it does not expect among the cells, or markup that is not
// well-formed); parsed whole, such a part gives the same rows, or the
// parser's error.
// With `layout`, also records where the rows stand (offsets into `xml`).
std::optional<ScannedWorksheet> ScanWorksheet(std::string_view xml, const CellReader& reader,
                                              WorksheetLayout* layout = nullptr);

// What the start of a sheet part tells of it.
struct SheetStart {
  bool worksheet = false;  // false for a chart sheet or any other root
  std::string codeName;
};
// Reads up to the sheet's properties (sheetPr, where the code name is) or
// the sheet data they stand before, whichever comes first. None when
// `start` does not tell: it ends too soon, or holds markup the scan leaves
// to the full parser.
std::optional<SheetStart> ReadSheetStart(std::string_view start);

// The same through a document tree of the whole part: none when its root is
// no worksheet; raises Error naming `part` when it is not well-formed.
std::optional<ScannedWorksheet> ParseWorksheet(const std::string& xml, const std::string& part,
                                               const CellReader& reader);

// The scan, or the parse where the scan leaves the part to it. With
// `layout`, the scan's layout of the part goes there (none after a parse).
std::optional<ScannedWorksheet> ReadWorksheet(const std::string& xml, const std::string& part, const CellReader& reader,
                                              std::optional<WorksheetLayout>* layout = nullptr);

}  // namespace pradima::xlsx
