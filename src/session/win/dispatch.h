#pragma once
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <initializer_list>
#include <string>
#include <unordered_map>

#include "base/win/com_owners.h"

namespace pradima::win {

// An automation object called late-bound by member name, with the dispatch
// ids looked up once per object and locale 1033 on every call. Failures
// raise Error with the callee's HRESULT and description.
class DispatchObject {
 public:
  DispatchObject() = default;
  explicit DispatchObject(Microsoft::WRL::ComPtr<IDispatch> object) : object_(std::move(object)) {}

  IDispatch* get() const noexcept { return object_.Get(); }
  explicit operator bool() const noexcept { return object_ != nullptr; }

  // Property get (or method returning a value); arguments in declaration order.
  UniqueVariant Get(const wchar_t* name, std::initializer_list<const VARIANT*> args = {});
  void Put(const wchar_t* name, const VARIANT& value);
  UniqueVariant Call(const wchar_t* name, std::initializer_list<const VARIANT*> args = {});

  // Property get by dispatch id, for the members every client reaches by
  // their standard id (DISPID_NEWENUM); `name` is for messages.
  UniqueVariant GetById(DISPID id, const wchar_t* name);

  DISPID IdOf(const wchar_t* name);

 private:
  UniqueVariant Invoke(const wchar_t* name, WORD flags, std::initializer_list<const VARIANT*> args,
                       bool propertyPut = false);
  UniqueVariant InvokeId(DISPID id, const wchar_t* name, WORD flags, std::initializer_list<const VARIANT*> args,
                         bool propertyPut);

  Microsoft::WRL::ComPtr<IDispatch> object_;
  std::unordered_map<std::wstring, DISPID> ids_;
};

// The IDispatch held by a VARIANT (VT_DISPATCH, or VT_UNKNOWN that answers to it).
Microsoft::WRL::ComPtr<IDispatch> DispatchFromVariant(const VARIANT& value, const wchar_t* what);

UniqueVariant VariantOf(const wchar_t* text);
UniqueVariant VariantOf(bool flag);
UniqueVariant VariantOf(int32_t number);

}  // namespace pradima::win
