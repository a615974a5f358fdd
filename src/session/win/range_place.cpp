#include "session/win/range_place.h"

#include <wrl/client.h>

#include "base/error.h"
#include "session/win/dispatch.h"
#include "session/win/variant_value.h"

namespace pradima::win {
namespace {

using Microsoft::WRL::ComPtr;

constexpr LCID kEnglishLocale = 1033;

ComPtr<IUnknown> Identity(IDispatch* object) {
  ComPtr<IUnknown> identity;
  if (object) object->QueryInterface(IID_PPV_ARGS(&identity));
  return identity;
}

int32_t WholeNumber(const UniqueVariant& value, const std::string& what) {
  const Value v = ValueFromVariant(*value.get());
  if (!v.IsNumber()) throw Error(VbError::TypeMismatch, what + " is not a number");
  return static_cast<int32_t>(v.number());
}

}  // namespace

bool LooksLikeRange(IDispatch* object) {
  if (!object) return false;
  for (const wchar_t* name : {L"Worksheet", L"Row", L"Column"}) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, kEnglishLocale, &id))) return false;
  }
  return true;
}

RangePlace PlaceOfRange(IDispatch* range, IDispatch* workbook, const std::string& what) {
  DispatchObject cells(range);
  DispatchObject sheet(DispatchFromVariant(*cells.Get(L"Worksheet").get(), L"the range's Worksheet"));
  const UniqueVariant parent = sheet.Get(L"Parent");
  const Value codeName = ValueFromVariant(*sheet.Get(L"CodeName").get());
  // Compared as pointers: the owners themselves would compare as flags.
  const ComPtr<IUnknown> owner = Identity(DispatchFromVariant(*parent.get(), L"the worksheet's Parent").Get());
  if (!workbook || owner.Get() != Identity(workbook).Get()) {
    throw Error(VbError::InvalidArgument,
                what + ": the range is on the sheet " + std::string(codeName.text()) + " of another workbook");
  }
  return {std::string(codeName.text()), WholeNumber(cells.Get(L"Row"), what + ": Row"),
          WholeNumber(cells.Get(L"Column"), what + ": Column")};
}

}  // namespace pradima::win
