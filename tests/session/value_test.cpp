#include "session/value.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace pradima {
namespace {

// One value of every shape a copy or a move has to carry, with what it reads back as.
struct Shape {
  const char* name;
  CellKind kind;
  double number;     // for every kind but a text
  std::string text;  // for a text
};

const Shape kShapes[] = {
    {"empty", CellKind::Empty, 0, ""},
    {"number", CellKind::Number, -1e300, ""},
    {"date", CellKind::Date, 46000, ""},
    {"true", CellKind::Boolean, 1, ""},
    {"#N/A", CellKind::Error, -2146826246, ""},
    {"empty text", CellKind::Text, 0, ""},
    {"text with a zero byte", CellKind::Text, 0, std::string{'0', '\0', '7'}},
    {"station name", CellKind::Text, 0, "Thừa Thiên Huế"},
    {"longest inline text", CellKind::Text, 0, std::string(21, 'a')},
    {"shortest heap text", CellKind::Text, 0, std::string(22, 'b')},
    {"long text", CellKind::Text, 0, std::string(300, 'x')},
};

Value Make(const Shape& shape) {
  switch (shape.kind) {
    case CellKind::Empty: return Value();
    case CellKind::Number: return Value::Number(shape.number);
    case CellKind::Text: return Value::Text(shape.text);
    case CellKind::Date: return Value::Date(shape.number);
    case CellKind::Boolean: return Value::Boolean(shape.number != 0);
    case CellKind::Error: return Value::Error(static_cast<int32_t>(shape.number));
  }
  return Value();
}

// Checks every accessor rather than operator==, which a broken copy could fool as well; texts of up
// to 21 bytes live inside the value.
void ExpectHolds(const Value& value, const Shape& shape) {
  EXPECT_EQ(value.kind(), shape.kind);
  EXPECT_EQ(value.number(), shape.number);
  EXPECT_EQ(value.text(), shape.text);
  if (shape.kind == CellKind::Text) {
    const auto* first = reinterpret_cast<const char*>(&value);
    const bool inside = value.text().data() >= first && value.text().data() < first + sizeof(Value);
    EXPECT_EQ(inside, shape.text.size() <= 21);
  }
}

// Copies hold the source, leave it intact and have a text of their own;
// moves carry it and leave it empty; over every other shape, and onto itself.
TEST(Value, CopiesAndMovesOfEveryShape) {
  for (const Shape& source : kShapes) {
    for (const Shape& target : kShapes) {
      SCOPED_TRACE(std::string(source.name) + " over " + target.name);
      Value original = Make(source), assigned = Make(target), moveAssigned = Make(target);
      assigned = original;
      ExpectHolds(assigned, source);
      ExpectHolds(original, source);
      const Value constructed = original;
      ExpectHolds(constructed, source);
      if (!source.text.empty()) {
        EXPECT_NE(constructed.text().data(), original.text().data()) << "copies share a text";
        EXPECT_NE(assigned.text().data(), original.text().data()) << "copies share a text";
      }
      moveAssigned = std::move(original);
      ExpectHolds(moveAssigned, source);
      ExpectHolds(original, kShapes[0]);  // NOLINT: a moved-from value is empty
      const Value moved = std::move(moveAssigned);
      ExpectHolds(moved, source);
      ExpectHolds(moveAssigned, kShapes[0]);  // NOLINT: a moved-from value is empty
    }
    Value value = Make(source);
    Value& alias = value;
    value = alias;
    ExpectHolds(value, source);
    value = std::move(alias);
    ExpectHolds(value, source);
  }
}

TEST(Value, EqualityByKindAndContentAndBlocksCopyWhole) {
  EXPECT_NE(Value::Number(12), Value::Text("12"));
  EXPECT_NE(Value::Number(44262), Value::Date(44262));
  EXPECT_EQ(Value::Text(std::string(40, 'z')), Value::Text(std::string(40, 'z')));
  EXPECT_NE(Value::Text(std::string(40, 'z')), Value::Text(std::string(39, 'z')));
  std::vector<Value> values;
  for (int i = 0; i < 1000; ++i) values.push_back(Value::Text(std::string(static_cast<size_t>(i % 40), 'q')));
  Block copy = ColumnBlock(values);
  EXPECT_EQ(copy, ColumnBlock(values));
  EXPECT_EQ(copy(999, 1).text().size(), 998u % 40);
  EXPECT_THROW(copy.at(1001, 1), std::exception);
}

}  // namespace
}  // namespace pradima
