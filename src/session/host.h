#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "session/cell_table.h"
#include "session/value.h"

namespace pradima {

// The spreadsheet as the engine sees it: exactly the automation operations
// it uses. The DLL implements these over IDispatch; the in-memory workbook
// implements them for the command-line tool and the tests. Every operation
// may raise Error.

inline constexpr int32_t kDirectionUp = 3;  // xlUp

class Range {
 public:
  virtual ~Range() = default;
  // The last non-empty cell at or above this range's first cell in its
  // column, or the cell of row 1 when there is none (direction 3, up).
  virtual std::shared_ptr<Range> End(int32_t direction) = 0;
  virtual int32_t Row() = 0;
  // The range's values as a block of its own shape (one cell gives 1 by 1).
  virtual Block GetValue() = 0;
  // The same cells as the count reads them; by default made from GetValue.
  virtual std::unique_ptr<CellTable> GetCells() { return std::make_unique<BlockCells>(GetValue()); }
  // Sets every cell from a block of the range's own shape; an empty entry clears its cell.
  virtual void SetValue(const Block& values) = 0;
  // Sets a single value into the range.
  virtual void SetValue(const Value& value) = 0;
  virtual std::shared_ptr<Range> Resize(int32_t rows, int32_t columns) = 0;
  virtual void ClearContents() = 0;
};

class Worksheet {
 public:
  virtual ~Worksheet() = default;
  virtual std::string CodeName() = 0;
  // A cell address ("F3"), a range address ("A5:FF812") or a workbook name ("BangDai").
  virtual std::shared_ptr<Range> GetRange(std::string_view address) = 0;
};

class Workbook {
 public:
  virtual ~Workbook() = default;
  // Every worksheet, in collection order.
  virtual std::vector<std::shared_ptr<Worksheet>> WorkSheets() = 0;
};

class Application {
 public:
  virtual ~Application() = default;
  virtual void SetCellDragAndDrop(bool enabled) = 0;
  virtual void SetScreenUpdating(bool enabled) = 0;
};

// The first value of a range: the scalar the spreadsheet returns for one cell.
inline Value CellValue(Range& range) {
  Block block = range.GetValue();
  return block.empty() ? Value() : block(1, 1);
}
// The value of one cell of a worksheet by address.
inline Value CellValue(Worksheet& sheet, std::string_view address) { return CellValue(*sheet.GetRange(address)); }
// The row of the last non-empty cell at or above the given cell, by End(up).
inline int32_t LastUsedRow(Worksheet& sheet, std::string_view farCell) {
  return sheet.GetRange(farCell)->End(kDirectionUp)->Row();
}

}  // namespace pradima
