#include "session/win/oleaut_conversions.h"

#include "base/error.h"
#include "session/conversions.h"
#include "session/win/variant_value.h"

namespace pradima::win::oleaut {
namespace {

// The automation conversion of one value to the given type, in the user's locale.
UniqueVariant Change(const Value& value, VARTYPE type, const char* target) {
  UniqueVariant source = VariantFromValue(value);
  UniqueVariant result;
  // VARIANT_ALPHABOOL: True reads "True" as in Visual Basic, not "-1".
  const HRESULT hr = VariantChangeTypeEx(result.get(), source.get(), LOCALE_USER_DEFAULT, VARIANT_ALPHABOOL, type);
  if (hr == DISP_E_OVERFLOW) throw Error(VbError::Overflow, std::string("the value does not fit ") + target);
  if (FAILED(hr)) {
    const std::string shown = value.IsText() ? "the text \"" + std::string(value.text()) + "\"" : "this value";
    throw Error(VbError::TypeMismatch, "cannot convert " + shown + " to " + target);
  }
  return result;
}

}  // namespace

DateSerial ToDate(const Value& value) { return Change(value, VT_DATE, "a date")->date; }

std::string ToText(const Value& value) { return pradima::win::Utf8FromBstr(Change(value, VT_BSTR, "text")->bstrVal); }

int32_t ToLong(const Value& value) { return Change(value, VT_I4, "a whole 32-bit number")->lVal; }

bool IsNumeric(const Value& value) {
  if (value.kind() == CellKind::Date || value.kind() == CellKind::Error) return false;
  UniqueVariant source = VariantFromValue(value);
  UniqueVariant result;
  return SUCCEEDED(VariantChangeTypeEx(result.get(), source.get(), LOCALE_USER_DEFAULT, 0, VT_R8));
}

}  // namespace pradima::win::oleaut

namespace pradima {

DateSerial ToDate(const Value& value) { return win::oleaut::ToDate(value); }
std::string ToText(const Value& value) { return win::oleaut::ToText(value); }
int32_t ToLong(const Value& value) { return win::oleaut::ToLong(value); }
bool IsNumeric(const Value& value) { return win::oleaut::IsNumeric(value); }

}  // namespace pradima
