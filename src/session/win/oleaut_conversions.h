#pragma once
#include <cstdint>
#include <string>

#include "base/date.h"
#include "session/value.h"

// The platform's automation conversions (oleaut32, the user's default
// locale). On Windows the engine's ToDate, ToText, ToLong and IsNumeric are
// these.
namespace pradima::win::oleaut {

DateSerial ToDate(const Value& value);
std::string ToText(const Value& value);
int32_t ToLong(const Value& value);
bool IsNumeric(const Value& value);

}  // namespace pradima::win::oleaut
