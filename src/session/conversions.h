#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/date.h"
#include "session/value.h"

namespace pradima {

// The automation conversions the engine applies to cell values. On Windows
// they are the platform's own (oleaut32, user default locale: see
// session/win/oleaut_conversions.h); elsewhere they are the portable ones
// below, which mirror the platform for the common cases: a number text in
// the C locale, a date text as dd/MM/yyyy or yyyy-MM-dd with an optional
// time of day. Which one the engine uses is chosen when it is linked.

// To a date: a date value, a number, or text read as a date; empty gives
// the zero date. Anything else is a type mismatch.
DateSerial ToDate(const Value& value);
// To text: a number gives its decimal text ("12", "1.5"); empty gives "".
std::string ToText(const Value& value);
// To a whole 32-bit number, rounding halves to even; out of range is an overflow.
int32_t ToLong(const Value& value);
// A number, an empty cell, or text that the number conversion accepts.
bool IsNumeric(const Value& value);

namespace portable {
DateSerial ToDate(const Value& value);
std::string ToText(const Value& value);
int32_t ToLong(const Value& value);
bool IsNumeric(const Value& value);
std::optional<double> ParseNumber(std::string_view text);
std::optional<DateSerial> ParseDate(std::string_view text);
std::string FormatNumber(double number);
}  // namespace portable

}  // namespace pradima
