#pragma once
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
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
  Value(const Value& other) : fields_(other.fields_) {
    if (fields_.heapText) fields_.heap = new std::string(*other.fields_.heap);
  }
  // A moved-from value is empty.
  Value(Value&& other) noexcept : fields_(std::exchange(other.fields_, Fields{})) {}
  Value& operator=(const Value& other) {
    if (this != &other) {
      // Copied before anything is released, so a failed allocation leaves this value as it was.
      std::string* heap = other.fields_.heapText ? new std::string(*other.fields_.heap) : nullptr;
      Release();
      fields_ = other.fields_;
      if (heap != nullptr) fields_.heap = heap;
    }
    return *this;
  }
  Value& operator=(Value&& other) noexcept {
    if (this != &other) {
      Release();
      fields_ = std::exchange(other.fields_, Fields{});
    }
    return *this;
  }
  ~Value() { Release(); }

  static Value Number(double number) { return Value(CellKind::Number, number); }
  static Value Text(std::string_view text) {
    Value v;
    v.fields_.kind = CellKind::Text;
    if (text.size() <= kInlineText) {
      v.fields_.inlineSize = static_cast<uint8_t>(text.size());
      std::memcpy(v.fields_.inlineText, text.data(), text.size());
    } else {
      v.fields_.heap = new std::string(text);
      v.fields_.heapText = true;
    }
    return v;
  }
  static Value Date(DateSerial serial) { return Value(CellKind::Date, serial); }
  static Value Boolean(bool flag) { return Value(CellKind::Boolean, flag ? 1 : 0); }
  // An error value (#N/A and the like) with its automation error code.
  static Value Error(int32_t code) { return Value(CellKind::Error, code); }

  CellKind kind() const noexcept { return fields_.kind; }
  bool IsEmpty() const noexcept { return fields_.kind == CellKind::Empty; }
  bool IsNumber() const noexcept { return fields_.kind == CellKind::Number; }
  bool IsText() const noexcept { return fields_.kind == CellKind::Text; }
  double number() const noexcept { return fields_.kind == CellKind::Text ? 0 : fields_.number; }
  DateSerial date() const noexcept { return number(); }
  bool boolean() const noexcept { return number() != 0; }
  int32_t errorCode() const noexcept { return static_cast<int32_t>(number()); }
  // UTF-8; empty for anything but a text.
  std::string_view text() const noexcept {
    if (fields_.kind != CellKind::Text) return {};
    return fields_.heapText ? std::string_view(*fields_.heap)
                            : std::string_view(fields_.inlineText, fields_.inlineSize);
  }

  bool operator==(const Value& other) const noexcept {
    if (fields_.kind != other.fields_.kind) return false;
    return fields_.kind == CellKind::Text ? text() == other.text()
                                          : fields_.kind == CellKind::Empty || fields_.number == other.fields_.number;
  }

 private:
  static constexpr size_t kInlineText = 21;

  // Everything a value holds, as plain data that copies member by member.
  // Only a heap text needs more than that copy: a string of its own.
  struct Fields {
    CellKind kind = CellKind::Empty;
    bool heapText = false;
    uint8_t inlineSize = 0;
    char inlineText[kInlineText] = {};
    union {
      double number = 0;  // every kind but a text
      std::string* heap;  // a text longer than kInlineText
    };
  };
  static_assert(std::is_trivially_copyable_v<Fields>);

  Value(CellKind kind, double number) noexcept {
    fields_.kind = kind;
    fields_.number = number;
  }
  void Release() noexcept {
    if (fields_.heapText) delete fields_.heap;
  }

  Fields fields_;
};
static_assert(sizeof(Value) == 32, "a results sheet holds millions of values");

// Shows a value as "empty", "number 12", "text \"07\"", ... (tests print it).
std::ostream& operator<<(std::ostream& out, const Value& value);

// A rectangular block of cell values, read or written whole. Rows and
// columns count from 1, rows first, as in the spreadsheet's own blocks.
class Block {
 public:
  Block() = default;
  Block(int32_t rows, int32_t columns)
      : rows_(rows), columns_(columns), cells_(static_cast<size_t>(rows) * static_cast<size_t>(columns)) {}
  // A block over cells already laid out row by row; their number must be rows times columns.
  Block(int32_t rows, int32_t columns, std::vector<Value> cells);

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
