#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "session/date.h"

namespace pradima {

enum class CellKind : uint8_t { Empty, Number, Text, Date, Boolean, Error };

// The value of one cell, as the spreadsheet application hands it over.
class Value {
 public:
  Value() = default;
  static Value Number(double number) { return Value(CellKind::Number, number); }
  static Value Text(std::string text) {
    Value v(CellKind::Text, 0);
    v.text_ = std::move(text);
    return v;
  }
  static Value Date(DateSerial serial) { return Value(CellKind::Date, serial); }
  static Value Boolean(bool flag) { return Value(CellKind::Boolean, flag ? 1 : 0); }
  // An error value (#N/A and the like) with its automation error code.
  static Value Error(int32_t code) { return Value(CellKind::Error, code); }

  CellKind kind() const noexcept { return kind_; }
  bool IsEmpty() const noexcept { return kind_ == CellKind::Empty; }
  bool IsNumber() const noexcept { return kind_ == CellKind::Number; }
  bool IsText() const noexcept { return kind_ == CellKind::Text; }
  double number() const noexcept { return number_; }
  DateSerial date() const noexcept { return number_; }
  bool boolean() const noexcept { return number_ != 0; }
  int32_t error_code() const noexcept { return static_cast<int32_t>(number_); }
  const std::string& text() const noexcept { return text_; }

  bool operator==(const Value& other) const = default;

 private:
  Value(CellKind kind, double number) : kind_(kind), number_(number) {}
  CellKind kind_ = CellKind::Empty;
  double number_ = 0;
  std::string text_;  // UTF-8
};

// Shows a value as "empty", "number 12", "text \"07\"", ... (tests print it).
std::ostream& operator<<(std::ostream& out, const Value& value);

// A rectangular block of cell values, read or written whole. Rows and
// columns count from 1, rows first, as in the spreadsheet's own blocks.
class Block {
 public:
  Block() = default;
  Block(int32_t rows, int32_t columns)
      : rows_(rows), columns_(columns), cells_(static_cast<size_t>(rows) * static_cast<size_t>(columns)) {}

  int32_t rows() const noexcept { return rows_; }
  int32_t columns() const noexcept { return columns_; }
  bool empty() const noexcept { return cells_.empty(); }

  // Checked access: an index outside the block raises "subscript out of range".
  Value& at(int32_t row, int32_t column);
  const Value& at(int32_t row, int32_t column) const;
  // Unchecked access for loops whose bounds are already known.
  Value& operator()(int32_t row, int32_t column) noexcept { return cells_[Index(row, column)]; }
  const Value& operator()(int32_t row, int32_t column) const noexcept { return cells_[Index(row, column)]; }

  bool operator==(const Block& other) const = default;

 private:
  size_t Index(int32_t row, int32_t column) const noexcept {
    return static_cast<size_t>(row - 1) * static_cast<size_t>(columns_) + static_cast<size_t>(column - 1);
  }
  int32_t rows_ = 0;
  int32_t columns_ = 0;
  std::vector<Value> cells_;
};

// One column of values as a block of n rows by 1 column.
Block ColumnBlock(const std::vector<Value>& values);

}  // namespace pradima
