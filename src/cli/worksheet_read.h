#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/cell_xml.h"
#include "session/value.h"

namespace pradima::cli {

// A worksheet part as the loader needs it: the sheet's code name and its
// rows, each as the run of its cells from column A, in the order of the file.
struct ScannedWorksheet {
  std::string code_name;
  std::vector<std::pair<int32_t, std::vector<Value>>> rows;
};

// Reads a worksheet part in one pass over its text, without building a
// document tree: a results sheet of twenty years holds millions of cells,
// and a tree of them costs ten times the memory of the values. Gives none
// for any part it leaves to the full parser (another encoding, a document
// type, a root other than a worksheet, markup it does not expect among the
// cells, or markup that is not well-formed); parsed whole, such a part gives
// the same rows, or the parser's error.
std::optional<ScannedWorksheet> ScanWorksheet(std::string_view xml, const CellReader& reader);

// The same through a document tree of the whole part: none when its root is
// no worksheet; raises Error naming `part` when it is not well-formed.
std::optional<ScannedWorksheet> ParseWorksheet(const std::string& xml, const std::string& part,
                                               const CellReader& reader);

// The scan, or the parse where the scan leaves the part to it.
std::optional<ScannedWorksheet> ReadWorksheet(const std::string& xml, const std::string& part,
                                              const CellReader& reader);

}  // namespace pradima::cli
