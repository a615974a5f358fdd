#include "session/value.h"

#include <ostream>

#include "base/error.h"

namespace pradima {

Value& Block::at(int32_t row, int32_t column) {
  return const_cast<Value&>(static_cast<const Block&>(*this).at(row, column));
}

const Value& Block::at(int32_t row, int32_t column) const {
  if (row < 1 || row > rows_ || column < 1 || column > columns_) {
    throw Error(VbError::SubscriptOutOfRange, "cell (" + std::to_string(row) + ", " + std::to_string(column) +
                                                  ") lies outside a block of " + std::to_string(rows_) + " rows by " +
                                                  std::to_string(columns_) + " columns");
  }
  return cells_[Index(row, column)];
}

std::ostream& operator<<(std::ostream& out, const Value& value) {
  switch (value.kind()) {
    case CellKind::Empty: return out << "empty";
    case CellKind::Number: return out << "number " << value.number();
    case CellKind::Text: return out << "text \"" << value.text() << "\"";
    case CellKind::Date: return out << "date " << value.date();
    case CellKind::Boolean: return out << (value.boolean() ? "True" : "False");
    case CellKind::Error: return out << "error " << value.errorCode();
  }
  return out;
}

Block::Block(int32_t rows, int32_t columns, std::vector<Value> cells)
    : rows_(rows), columns_(columns), cells_(std::move(cells)) {
  if (rows < 0 || columns < 0 || cells_.size() != static_cast<size_t>(rows) * static_cast<size_t>(columns)) {
    throw Error(VbError::SubscriptOutOfRange, std::to_string(cells_.size()) + " cells do not make a block of " +
                                                  std::to_string(rows) + " rows by " + std::to_string(columns) +
                                                  " columns");
  }
}

Block ColumnBlock(const std::vector<Value>& values) {
  Block block(static_cast<int32_t>(values.size()), 1);
  for (size_t i = 0; i < values.size(); ++i) block(static_cast<int32_t>(i) + 1, 1) = values[i];
  return block;
}

}  // namespace pradima
