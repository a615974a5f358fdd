#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "session/value.h"
#include "session/win/com_owners.h"

namespace pradima::win {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(const wchar_t* text, size_t length);
std::string Utf8FromBstr(BSTR text);

// One cell value as a VARIANT and back. Unknown VARIANT types are a type mismatch.
UniqueVariant VariantFromValue(const Value& value);
Value ValueFromVariant(const VARIANT& variant);

}  // namespace pradima::win
