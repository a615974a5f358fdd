#pragma once
// Inputs whose conversions the portable mirror must give exactly as the
// platform's automation conversions do; the Windows test runs them through
// both. Texts here avoid anything the user's locale reads differently.
#include <cstdint>
#include <optional>
#include <string>

#include "session/value.h"

namespace pradima::testing {

struct ConversionCase {
  Value input;
  std::optional<std::string> text;  // nullopt: the conversion fails
  std::optional<int32_t> whole;
  bool numeric;
};

inline const ConversionCase kConversionCases[] = {
    {Value(), "", 0, true},
    {Value::Number(12), "12", 12, true},
    {Value::Number(1.5), "1.5", 2, true},
    {Value::Number(2.5), "2.5", 2, true},
    {Value::Number(-3.5), "-3.5", -4, true},
    {Value::Number(0.1 + 0.2), "0.3", 0, true},
    {Value::Number(123456789012345.0), "123456789012345", std::nullopt, true},
    {Value::Number(1e20), "1E+20", std::nullopt, true},
    {Value::Number(7593), "7593", 7593, true},
    {Value::Text("07"), "07", 7, true},
    {Value::Text(" 12 "), " 12 ", 12, true},
    {Value::Text("12345"), "12345", 12345, true},
    {Value::Text("-5"), "-5", -5, true},
    {Value::Text("1.5"), "1.5", 2, true},
    {Value::Text("1,234"), "1,234", 1234, true},
    {Value::Text("1e3"), "1e3", 1000, true},
    {Value::Text("abc"), "abc", std::nullopt, false},
    {Value::Text(""), "", std::nullopt, false},
    {Value::Text("12a"), "12a", std::nullopt, false},
    {Value::Text("+"), "+", std::nullopt, false},
    {Value::Text("3000000000"), "3000000000", std::nullopt, true},
    {Value::Boolean(true), "True", -1, true},
};

}  // namespace pradima::testing
