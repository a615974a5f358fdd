#pragma once
// Two reads of one worksheet part compared: the code name, the rows in order
// and every value, a number by its bits so that "nan" equals itself.
#include <cstring>
#include <sstream>
#include <string>

#include "xlsx/worksheet_read.h"

namespace pradima::xlsx {

inline bool SameValue(const Value& a, const Value& b) {
  if (a.kind() != b.kind()) return false;
  if (a.IsText()) return a.text() == b.text();
  const double x = a.number(), y = b.number();
  return std::memcmp(&x, &y, sizeof x) == 0;
}

// The first difference between the reads; empty when they are the same.
inline std::string SheetDifference(const ScannedWorksheet& a, const ScannedWorksheet& b) {
  std::ostringstream difference;
  if (a.codeName != b.codeName) difference << "code name " << a.codeName << " vs " << b.codeName;
  if (a.rows.size() != b.rows.size()) difference << a.rows.size() << " rows vs " << b.rows.size();
  for (size_t r = 0; r < a.rows.size() && difference.tellp() == 0; ++r) {
    const auto& [row, cells] = a.rows[r];
    const auto& [otherRow, otherCells] = b.rows[r];
    if (row != otherRow || cells.size() != otherCells.size())
      difference << "row " << row << " (" << cells.size() << " cells) vs " << otherRow << " (" << otherCells.size()
                 << ")";
    for (size_t c = 0; c < cells.size() && difference.tellp() == 0; ++c)
      if (!SameValue(cells[c], otherCells[c]))
        difference << "row " << row << " column " << c + 1 << ": " << cells[c] << " vs " << otherCells[c];
  }
  return difference.str();
}

}  // namespace pradima::xlsx
