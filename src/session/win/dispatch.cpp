#include "session/win/dispatch.h"

#include <vector>

#include "base/error.h"
#include "base/win/hresult.h"
#include "session/win/variant_value.h"

namespace pradima::win {
namespace {

constexpr LCID kEnglishLocale = 1033;

std::string Narrow(const wchar_t* text) { return Utf8FromWide(text, wcslen(text)); }

}  // namespace

DISPID DispatchObject::IdOf(const wchar_t* name) {
  if (!object_) throw Error(VbError::ObjectNotSet, "calling " + Narrow(name) + " on no object");
  const auto it = ids_.find(name);
  if (it != ids_.end()) return it->second;
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  const HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, kEnglishLocale, &id);
  if (hr == DISP_E_UNKNOWNNAME || hr == DISP_E_MEMBERNOTFOUND) {
    // 438: object doesn't support this property or method
    throw Error(static_cast<int32_t>(0x800A01B6u), "the object has no member " + Narrow(name));
  }
  // Anything else (a closed workbook, a disconnected application) keeps its own HRESULT.
  ThrowIfFailed(hr, "looking up the member " + Narrow(name));
  ids_.emplace(name, id);
  return id;
}

UniqueVariant DispatchObject::Invoke(const wchar_t* name, WORD flags, std::initializer_list<const VARIANT*> args,
                                     bool propertyPut) {
  return InvokeId(IdOf(name), name, flags, args, propertyPut);
}

UniqueVariant DispatchObject::GetById(DISPID id, const wchar_t* name) {
  if (!object_) throw Error(VbError::ObjectNotSet, "calling " + Narrow(name) + " on no object");
  return InvokeId(id, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, false);
}

UniqueVariant DispatchObject::InvokeId(DISPID id, const wchar_t* name, WORD flags,
                                       std::initializer_list<const VARIANT*> args, bool propertyPut) {
  // IDispatch takes its arguments last first.
  std::vector<VARIANT> reversed;
  reversed.reserve(args.size());
  for (auto it = args.end(); it != args.begin();) reversed.push_back(**--it);
  DISPID namedPut = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), propertyPut ? &namedPut : nullptr, static_cast<UINT>(reversed.size()),
                    propertyPut ? 1u : 0u};
  UniqueVariant result;
  EXCEPINFO exception{};
  UINT badArgument = 0;
  const HRESULT hr = object_->Invoke(id, IID_NULL, kEnglishLocale, flags, &params, propertyPut ? nullptr : result.put(),
                                     &exception, &badArgument);
  if (hr == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    UniqueBstr description(exception.bstrDescription);
    UniqueBstr source(exception.bstrSource);
    UniqueBstr help(exception.bstrHelpFile);
    // An application that fills neither code raised an error all the same:
    // 1004, application-defined or object-defined error, never error 0.
    const HRESULT code = exception.scode ? exception.scode
                         : exception.wCode
                             ? static_cast<HRESULT>(0x800A0000u | exception.wCode)
                             : static_cast<HRESULT>(0x800A0000u | static_cast<uint32_t>(VbError::ApplicationDefined));
    // The application's own error goes on as it came: its HRESULT, its words.
    std::string text = Utf8FromBstr(description.get());
    if (text.empty()) text = Narrow(name) + " failed";
    throw Error(static_cast<int32_t>(code), text);
  }
  ThrowIfFailed(hr, "calling " + Narrow(name));
  return result;
}

UniqueVariant DispatchObject::Get(const wchar_t* name, std::initializer_list<const VARIANT*> args) {
  return Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args);
}

void DispatchObject::Put(const wchar_t* name, const VARIANT& value) {
  Invoke(name, DISPATCH_PROPERTYPUT, {&value}, true);
}

UniqueVariant DispatchObject::Call(const wchar_t* name, std::initializer_list<const VARIANT*> args) {
  return Invoke(name, DISPATCH_METHOD, args);
}

Microsoft::WRL::ComPtr<IDispatch> DispatchFromVariant(const VARIANT& value, const wchar_t* what) {
  const VARIANT* v = &Unwrapped(value);
  Microsoft::WRL::ComPtr<IDispatch> object;
  if (v->vt == VT_DISPATCH && v->pdispVal) {
    object = v->pdispVal;
  } else if (v->vt == VT_UNKNOWN && v->punkVal) {
    v->punkVal->QueryInterface(IID_PPV_ARGS(&object));
  }
  if (!object) throw Error(VbError::ObjectRequired, Narrow(what) + " is not an object");
  return object;
}

UniqueVariant VariantOf(const wchar_t* text) {
  UniqueVariant v;
  v->bstrVal = MakeBstr(text).release();
  v->vt = VT_BSTR;
  return v;
}

UniqueVariant VariantOf(bool flag) {
  UniqueVariant v;
  v->vt = VT_BOOL;
  v->boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

UniqueVariant VariantOf(int32_t number) {
  UniqueVariant v;
  v->vt = VT_I4;
  v->lVal = number;
  return v;
}

}  // namespace pradima::win
