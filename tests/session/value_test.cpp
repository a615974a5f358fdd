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
  Value value;
  CellKind kind;
  double number;     // for every kind but a text
  std::string text;  // for a text
};

const Shape kShapes[] = {
    {"empty", Value(), CellKind::Empty, 0, ""},
    {"number", Value::Number(-1e300), CellKind::Number, -1e300, ""},
    {"date", Value::Date(46000), CellKind::Date, 46000, ""},
    {"true", Value::Boolean(true), CellKind::Boolean, 1, ""},
    {"#N/A", Value::Error(-2146826246), CellKind::Error, -2146826246, ""},
    {"empty text", Value::Text(""), CellKind::Text, 0, ""},
    {"text with a zero byte", Value::Text(std::string{'0', '\0', '7'}), CellKind::Text, 0, std::string{'0', '\0', '7'}},
    {"station name", Value::Text("Thừa Thiên Huế"), CellKind::Text, 0, "Thừa Thiên Huế"},
    {"longest inline text", Value::Text(std::string(21, 'a')), CellKind::Text, 0, std::string(21, 'a')},
    {"shortest heap text", Value::Text(std::string(22, 'b')), CellKind::Text, 0, std::string(22, 'b')},
    {"long text", Value::Text(std::string(300, 'x')), CellKind::Text, 0, std::string(300, 'x')},
};

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
      Value original = source.value, assigned = target.value, moveAssigned = target.value;
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
    Value value = source.value;
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
