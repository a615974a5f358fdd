// The engine's conversions, where the platform has no automation library of its own.
#include "session/conversions.h"

namespace pradima {

DateSerial ToDate(const Value& value) { return portable::ToDate(value); }
std::string ToText(const Value& value) { return portable::ToText(value); }
int32_t ToLong(const Value& value) { return portable::ToLong(value); }
bool IsNumeric(const Value& value) { return portable::IsNumeric(value); }

}  // namespace pradima
