#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "base/win/com_owners.h"
#include "session/value.h"

namespace pradima::win {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(const wchar_t* text, size_t length);
std::string Utf8FromBstr(BSTR text);

// The VARIANT a by-reference VARIANT (VT_BYREF | VT_VARIANT) points to, or
// the argument itself: how callers pass their Variant variables.
inline const VARIANT& Unwrapped(const VARIANT& argument) noexcept {
  return argument.vt == (VT_BYREF | VT_VARIANT) && argument.pvarVal ? *argument.pvarVal : argument;
}

// One cell value as a VARIANT and back. Unknown VARIANT types are a type mismatch.
UniqueVariant VariantFromValue(const Value& value);
Value ValueFromVariant(const VARIANT& variant);

}  // namespace pradima::win
