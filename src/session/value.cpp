#include "session/value.h"

#include "session/error.h"

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

Block ColumnBlock(const std::vector<Value>& values) {
  Block block(static_cast<int32_t>(values.size()), 1);
  for (size_t i = 0; i < values.size(); ++i) block(static_cast<int32_t>(i) + 1, 1) = values[i];
  return block;
}

}  // namespace pradima
