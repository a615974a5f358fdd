#include "session/conversions.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/conversion_cases.h"
#include "support/error_of.h"

namespace pradima {
namespace {

// A whole number that cannot be had is an overflow when the input is
// numeric, and a type mismatch when it is not.
TEST(PortableConversions, FollowTheSharedTable) {
  for (const auto& c : testing::kConversionCases) {
    EXPECT_EQ(portable::IsNumeric(c.input), c.numeric) << ::testing::PrintToString(c.text);
    if (c.text) {
      EXPECT_EQ(portable::ToText(c.input), *c.text);
    }
    int32_t whole = -1;
    const int error = testing::ErrorOf([&] { whole = portable::ToLong(c.input); }).first;
    EXPECT_EQ(error, c.whole ? 0 : c.numeric ? 6 : 13) << *c.text;
    EXPECT_EQ(whole, c.whole.value_or(-1)) << *c.text;
  }
}

TEST(PortableConversions, DatesFromValuesAndText) {
  const std::pair<Value, double> cases[] = {
      {Value(), 0},
      {Value::Date(44262), 44262},
      {Value::Number(44262.5), 44262.5},
      {Value::Text("07/03/2021"), 44262},
      {Value::Text("7/3/2021"), 44262},
      {Value::Text("2021-03-07"), 44262},
      {Value::Text("2021-03-07 18:00"), 44262.75},
  };
  for (const auto& [input, serial] : cases) EXPECT_DOUBLE_EQ(portable::ToDate(input), serial) << input.text();
  for (const char* bad : {"31/02/2021", "hello", "2021-03", "07/03/2021 25:00", ""}) {
    EXPECT_THROW(portable::ToDate(Value::Text(bad)), Error) << bad;
  }
  EXPECT_EQ(portable::ToText(Value::Date(44262)), "07/03/2021");
}

}  // namespace
}  // namespace pradima
