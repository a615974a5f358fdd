#include "session/conversions.h"

namespace pradima {

#ifdef _WIN32
namespace platform = oleaut;
#else
namespace platform = portable;
#endif

DateSerial ToDate(const Value& value) { return platform::ToDate(value); }
std::string ToText(const Value& value) { return platform::ToText(value); }
int32_t ToLong(const Value& value) { return platform::ToLong(value); }
bool IsNumeric(const Value& value) { return platform::IsNumeric(value); }

}  // namespace pradima
