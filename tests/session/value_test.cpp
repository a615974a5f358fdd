#include "session/value.h"

#include <gtest/gtest.h>

#include <vector>

namespace pradima {
namespace {

TEST(Value, TextsShortAndLongSurviveCopiesAndMoves) {
  const std::string longText(300, 'x');
  for (const std::string& text : {std::string(), std::string("07"), std::string("Thừa Thiên Huế"),
                                  std::string(21, 'a'), std::string(22, 'b'), longText}) {
    Value original = Value::Text(text);
    Value copy = original;
    EXPECT_EQ(copy.text(), text);
    Value moved = std::move(copy);
    EXPECT_EQ(moved.text(), text);
    EXPECT_TRUE(copy.IsEmpty());  // NOLINT: a moved-from value is empty
    Value assigned = Value::Number(1);
    assigned = original;
    EXPECT_EQ(assigned, original);
    assigned = Value::Number(2);
    EXPECT_EQ(assigned.number(), 2);
    EXPECT_EQ(original.text(), text);
  }
}

TEST(Value, EqualityByKindAndContent) {
  EXPECT_EQ(Value(), Value());
  EXPECT_NE(Value::Number(12), Value::Text("12"));
  EXPECT_NE(Value::Number(44262), Value::Date(44262));
  EXPECT_EQ(Value::Text(std::string(40, 'z')), Value::Text(std::string(40, 'z')));
  EXPECT_NE(Value::Text(std::string(40, 'z')), Value::Text(std::string(39, 'z')));
  EXPECT_EQ(Value::Boolean(true).boolean(), true);
  EXPECT_EQ(Value::Text("5").number(), 0) << "a text has no number";
}

TEST(Value, BlocksOfValuesGrowAndCopyWhole) {
  std::vector<Value> values;
  for (int i = 0; i < 1000; ++i) values.push_back(Value::Text(std::string(static_cast<size_t>(i % 40), 'q')));
  const Block block = ColumnBlock(values);
  Block copy = block;
  EXPECT_EQ(copy, block);
  EXPECT_EQ(copy(999, 1).text().size(), 998u % 40);
  EXPECT_THROW(copy.at(1001, 1), std::exception);
}

}  // namespace
}  // namespace pradima
