#pragma once
// The cells of a block as the count reads them. A host may answer straight
// from what it holds (the DLL reads the digits at the end of the texts the
// spreadsheet handed over) instead of making a value of every cell first.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "session/value.h"

namespace pradima {

// The number that the last `digits` characters of a text begin with: "12307"
// gives 7 for two digits, 307 for three; a text without a leading digit there gives 0.
inline int32_t LoOfText(std::string_view text, int digits) {
  if (text.size() > static_cast<size_t>(digits)) text.remove_prefix(text.size() - static_cast<size_t>(digits));
  int32_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    number = number * 10 + (c - '0');
  }
  return number;
}
// The same for a cell that is no text: a number by its text, an empty cell 0.
int32_t LoOfOther(const Value& cell, int digits);
// The same for any cell.
inline int32_t LoOf(const Value& cell, int digits) {
  return cell.IsText() ? LoOfText(cell.text(), digits) : LoOfOther(cell, digits);
}
// Whether a cell holds anything: neither empty nor the empty text.
inline bool HasText(const Value& cell) { return !(cell.IsEmpty() || (cell.IsText() && cell.text().empty())); }

class CellTable {
 public:
  virtual ~CellTable() = default;
  virtual int32_t rows() const = 0;
  virtual int32_t columns() const = 0;
  // Row and column from 1, within the table.
  virtual bool HasText(int32_t row, int32_t column) const = 0;
  virtual int32_t LoOf(int32_t row, int32_t column, int digits) const = 0;
  // The cell as a value, for the few cells read as more than a number (a station's name).
  virtual Value ValueAt(int32_t row, int32_t column) const = 0;
};

// A block of values as a cell table.
class BlockCells final : public CellTable {
 public:
  explicit BlockCells(Block block) : block_(std::move(block)) {}
  int32_t rows() const override { return block_.rows(); }
  int32_t columns() const override { return block_.columns(); }
  bool HasText(int32_t row, int32_t column) const override { return pradima::HasText(block_(row, column)); }
  int32_t LoOf(int32_t row, int32_t column, int digits) const override {
    return pradima::LoOf(block_(row, column), digits);
  }
  Value ValueAt(int32_t row, int32_t column) const override { return block_(row, column); }
  const Block& block() const { return block_; }

 private:
  Block block_;
};

// Rows of values that a host keeps row by row, handed out without a copy.
// Each row holds the table's cells from its first column on, up to its
// length; the cells beyond are empty. The rows stay valid while `owner`
// lives and the host's cells do not change: the count reads them before it
// writes anything.
class RowCells final : public CellTable {
 public:
  struct Row {
    const Value* cells = nullptr;
    int32_t length = 0;
  };
  RowCells(std::vector<Row> rows, int32_t columns, std::shared_ptr<const void> owner)
      : rows_(std::move(rows)), columns_(columns), owner_(std::move(owner)) {}
  int32_t rows() const override { return static_cast<int32_t>(rows_.size()); }
  int32_t columns() const override { return columns_; }
  bool HasText(int32_t row, int32_t column) const override { return pradima::HasText(At(row, column)); }
  int32_t LoOf(int32_t row, int32_t column, int digits) const override {
    return pradima::LoOf(At(row, column), digits);
  }
  Value ValueAt(int32_t row, int32_t column) const override { return At(row, column); }
  const Value& At(int32_t row, int32_t column) const {
    static const Value kEmpty;
    const Row& cells = rows_[static_cast<size_t>(row - 1)];
    return column <= cells.length ? cells.cells[column - 1] : kEmpty;
  }

 private:
  std::vector<Row> rows_;
  int32_t columns_;
  std::shared_ptr<const void> owner_;
};

}  // namespace pradima
