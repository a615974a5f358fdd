#pragma once
// Where a followers' table goes, and how it is put there: the target is
// checked against the cells the engine reads, the area of the largest table
// of its kind is cleared, and the new table is written in one block.
#include <cstdint>
#include <functional>
#include <string>

#include "session/session.h"
#include "session/value.h"

namespace pradima {

// A worksheet of the bound workbook by code name, and the top-left cell of
// the table (row, column from 1).
struct TableTarget {
  std::string sheetCodeName;
  int32_t row = 0;
  int32_t column = 0;
};

// Rows by columns from the target.
struct TableArea {
  int32_t rows = 0;
  int32_t columns = 0;
};

// Raises error 5, naming the cells, when the area from the target leaves the
// sheet or would touch the results sheet, the settings sheet, or the control
// sheet's request (B1:B6) or list (columns F to H). Calls nothing on the host.
void RequireFreeArea(const TableTarget& target, TableArea area);

// One table put in the workbook: with screen updating off (back on after,
// whether it succeeds or fails), checks the target, finds its worksheet,
// has `make` compute the table (at most `area`), then clears the area and
// writes the table in one block. Nothing is written when any step before
// the clearing fails.
void PutTable(const Session& session, const TableTarget& target, TableArea area, const std::function<Block()>& make);

}  // namespace pradima
