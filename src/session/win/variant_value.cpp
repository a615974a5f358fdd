#include "session/win/variant_value.h"

#include "base/error.h"
#include "base/utf.h"

namespace pradima::win {

std::wstring WideFromUtf8(std::string_view text) {
  const std::u16string wide = Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string Utf8FromWide(const wchar_t* text, size_t length) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string Utf8FromBstr(BSTR text) {
  if (!text) return {};
  const UINT length = SysStringLen(text);
  // Prize numbers and most cell texts are ASCII: copy them straight across.
  std::string ascii(length, '\0');
  for (UINT i = 0; i < length; ++i) {
    if (text[i] >= 0x80) return Utf8FromWide(text, length);
    ascii[i] = static_cast<char>(text[i]);
  }
  return ascii;
}

UniqueVariant VariantFromValue(const Value& value) {
  UniqueVariant v;
  switch (value.kind()) {
    case CellKind::Empty: break;
    case CellKind::Number:
      v->vt = VT_R8;
      v->dblVal = value.number();
      break;
    case CellKind::Text: {
      v->bstrVal = MakeBstr(WideFromUtf8(value.text())).release();
      v->vt = VT_BSTR;
      break;
    }
    case CellKind::Date:
      v->vt = VT_DATE;
      v->date = value.date();
      break;
    case CellKind::Boolean:
      v->vt = VT_BOOL;
      v->boolVal = value.boolean() ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case CellKind::Error:
      v->vt = VT_ERROR;
      v->scode = value.errorCode();
      break;
  }
  return v;
}

Value ValueFromVariant(const VARIANT& variant) {
  const VARIANT* v = &Unwrapped(variant);
  switch (v->vt) {
    case VT_EMPTY:
    case VT_NULL: return Value();
    case VT_R8: return Value::Number(v->dblVal);
    case VT_R4: return Value::Number(v->fltVal);
    case VT_I2: return Value::Number(v->iVal);
    case VT_I4: return Value::Number(v->lVal);
    case VT_I8: return Value::Number(static_cast<double>(v->llVal));
    case VT_UI1: return Value::Number(v->bVal);
    case VT_INT: return Value::Number(v->intVal);
    case VT_CY: return Value::Number(static_cast<double>(v->cyVal.int64) / 10000.0);
    case VT_DATE: return Value::Date(v->date);
    case VT_BOOL: return Value::Boolean(v->boolVal != VARIANT_FALSE);
    case VT_BSTR: {
      // Short texts (prize numbers, station names) are converted on the
      // stack and stored inside the value: no allocation per cell.
      const UINT length = v->bstrVal ? SysStringLen(v->bstrVal) : 0;
      char utf8[64];
      UINT ascii = 0;
      for (; ascii < length && length <= 21 && v->bstrVal[ascii] < 0x80; ++ascii)
        utf8[ascii] = static_cast<char>(v->bstrVal[ascii]);
      if (ascii == length) return Value::Text(std::string_view(utf8, length));
      if (length <= 21) {
        const int bytes =
            WideCharToMultiByte(CP_UTF8, 0, v->bstrVal, static_cast<int>(length), utf8, sizeof utf8, nullptr, nullptr);
        if (bytes > 0) return Value::Text(std::string_view(utf8, static_cast<size_t>(bytes)));
      }
      return Value::Text(Utf8FromBstr(v->bstrVal));
    }
    case VT_ERROR: return Value::Error(v->scode);
    default: break;
  }
  UniqueVariant asDouble;
  if (SUCCEEDED(VariantChangeType(asDouble.get(), const_cast<VARIANT*>(v), 0, VT_R8))) {
    return Value::Number(asDouble->dblVal);
  }
  throw Error(VbError::TypeMismatch, "a cell value of variant type " + std::to_string(v->vt) + " is not supported");
}

}  // namespace pradima::win
