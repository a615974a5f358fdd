// The portable conversions against the platform's own, input by input.
#include <gtest/gtest.h>

#include "base/error.h"
#include "session/conversions.h"
#include "session/win/oleaut_conversions.h"
#include "support/conversion_cases.h"

namespace pradima {
namespace {

template <typename F>
std::optional<decltype(std::declval<F>()())> Attempt(F f) {
  try {
    return f();
  } catch (const Error&) {
    return std::nullopt;
  }
}

TEST(ConversionsCross, PortableMirrorsThePlatform) {
  for (const auto& c : testing::kConversionCases) {
    const std::string label = c.text.value_or("?");
    EXPECT_EQ(portable::IsNumeric(c.input), win::oleaut::IsNumeric(c.input)) << label;
    EXPECT_EQ(Attempt([&] { return portable::ToText(c.input); }), Attempt([&] { return win::oleaut::ToText(c.input); }))
        << label;
    EXPECT_EQ(Attempt([&] { return portable::ToLong(c.input); }), Attempt([&] { return win::oleaut::ToLong(c.input); }))
        << label;
    // and both agree with the table
    EXPECT_EQ(win::oleaut::IsNumeric(c.input), c.numeric) << label;
    EXPECT_EQ(Attempt([&] { return win::oleaut::ToLong(c.input); }), c.whole) << label;
  }
}

TEST(ConversionsCross, IsoDateTextAndEmptyAgree) {
  for (const char* text : {"2021-03-07", "2005-01-01", "hello"}) {
    const Value v = Value::Text(text);
    EXPECT_EQ(Attempt([&] { return portable::ToDate(v); }), Attempt([&] { return win::oleaut::ToDate(v); })) << text;
  }
  EXPECT_EQ(win::oleaut::ToDate(Value()), 0);
  EXPECT_EQ(win::oleaut::ToText(Value()), "");
}

}  // namespace
}  // namespace pradima
