#pragma once
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.h"

namespace pradima {

enum class CellKind : uint8_t { Empty, Number, Text, Date, Boolean, Error };

// The value of one cell, as the spreadsheet application hands it over.
// Blocks of a whole results sheet hold over a million of them, so a value
// is 32 bytes and a text of up to 21 bytes (every prize number and station name) lives inside
// it: copying such a value is a plain copy, with no allocation.
class Value {
 public:
  Value() noexcept {}
  Value(const Value& other) { CopyFrom(other); }
  Value(Value&& other) noexcept {
    std::memcpy(static_cast<void*>(this), static_cast<const void*>(&other), sizeof(Value));
    other.kind_ = CellKind::Empty;
    other.heap_text_ = false;
  }
  Value& operator=(const Value& other) {
    if (this != &other) {
      Release();
      CopyFrom(other);
    }
    return *this;
  }
  Value& operator=(Value&& other) noexcept {
    if (this != &other) {
      Release();
      std::memcpy(static_cast<void*>(this), static_cast<const void*>(&other), sizeof(Value));
      other.kind_ = CellKind::Empty;
      other.heap_text_ = false;
    }
    return *this;
  }
  ~Value() { Release(); }

  static Value Number(double number) { return Value(CellKind::Number, number); }
  static Value Text(std::string_view text) {
    Value v;
    v.kind_ = CellKind::Text;
    if (text.size() <= kInlineText) {
      v.inline_size_ = static_cast<uint8_t>(text.size());
      std::memcpy(v.inline_, text.data(), text.size());
    } else {
      v.heap_text_ = true;
      v.heap_ = new std::string(text);
    }
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
  double number() const noexcept { return kind_ == CellKind::Text ? 0 : number_; }
  DateSerial date() const noexcept { return number(); }
  bool boolean() const noexcept { return number() != 0; }
  int32_t error_code() const noexcept { return static_cast<int32_t>(number()); }
  // UTF-8; empty for anything but a text.
  std::string_view text() const noexcept {
    if (kind_ != CellKind::Text) return {};
    return heap_text_ ? std::string_view(*heap_) : std::string_view(inline_, inline_size_);
  }

  bool operator==(const Value& other) const noexcept {
    if (kind_ != other.kind_) return false;
    return kind_ == CellKind::Text ? text() == other.text() : kind_ == CellKind::Empty || number_ == other.number_;
  }

 private:
  static constexpr size_t kInlineText = 21;
  Value(CellKind kind, double number) noexcept : kind_(kind), number_(number) {}
  void Release() noexcept {
    if (heap_text_) delete heap_;
    heap_text_ = false;
  }
  void CopyFrom(const Value& other) {
    if (other.heap_text_) {
      kind_ = other.kind_;
      heap_text_ = true;
      heap_ = new std::string(*other.heap_);
    } else {
      std::memcpy(static_cast<void*>(this), static_cast<const void*>(&other), sizeof(Value));
    }
  }

  CellKind kind_ = CellKind::Empty;
  bool heap_text_ = false;
  uint8_t inline_size_ = 0;
  char inline_[kInlineText];
  union {
    double number_ = 0;
    std::string* heap_;  // texts longer than kInlineText
  };
};
static_assert(sizeof(Value) == 32);

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
