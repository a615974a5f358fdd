#include "entry/sub.h"

#include <wrl/client.h>

#include "entry/com_error.h"
#include "entry/module.h"
#include "entry/session_start.h"
#include "selection/number_type.h"
#include "session/error.h"
#include "session/win/variant_value.h"
#include "stats/run_statistics.h"
#include "text/message.h"

namespace pradima::entry {
namespace {

constexpr DISPID kSupId = 1;
constexpr DISPID kKieuSoId = 2;
constexpr DISPID kThongKeLoId = 3;

struct Member {
  const wchar_t* name;
  DISPID id;
};
constexpr Member kMembers[] = {{L"Sup", kSupId}, {L"kieuSo", kKieuSoId}, {L"ThongKeLo", kThongKeLoId}};

// An argument as the object it must be: by value, by reference of the
// declared type, or by reference of a VARIANT holding it.
bool ObjectArgument(const VARIANT& argument, IDispatch** object) {
  const VARIANT* v = &argument;
  if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
  switch (v->vt) {
    case VT_DISPATCH: *object = v->pdispVal; return true;
    case VT_BYREF | VT_DISPATCH: *object = v->ppdispVal ? *v->ppdispVal : nullptr; return true;
    case VT_EMPTY: *object = nullptr; return true;
    default: return false;
  }
}

bool TextArgument(const VARIANT& argument, BSTR* text) {
  const VARIANT* v = &argument;
  if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
  switch (v->vt) {
    case VT_BSTR: *text = v->bstrVal; return true;
    case VT_BYREF | VT_BSTR: *text = v->pbstrVal ? *v->pbstrVal : nullptr; return true;
    default: return false;
  }
}

HRESULT WithTypeLibrary(ITypeInfo** info) {
  *info = nullptr;
  wchar_t path[MAX_PATH];
  if (!GetModuleFileNameW(ThisModule(), path, MAX_PATH)) return HRESULT_FROM_WIN32(GetLastError());
  Microsoft::WRL::ComPtr<ITypeLib> library;
  const HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, &library);
  if (FAILED(hr)) return hr;
  return library->GetTypeInfoOfGuid(IID__Sub, info);
}

MessageBoxSink& Messages() {
  static MessageBoxSink sink;
  return sink;
}

}  // namespace

Sub::Sub() noexcept { ObjectCreated(); }

Sub::~Sub() {
  // The last reference to any instance ends the thread's session.
  try {
    EndSession(Session::ForThisThread());
  } catch (...) {
    // The application may already be gone; the references are dropped regardless.
    Session::ForThisThread().ReleaseSession();
  }
  ObjectDestroyed();
}

HRESULT Sub::QueryInterface(REFIID iid, void** object) noexcept {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__Sub) {
    *object = static_cast<_Sub*>(this);
  } else if (iid == IID_ISupportErrorInfo) {
    *object = static_cast<ISupportErrorInfo*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG Sub::AddRef() noexcept { return ++references_; }

ULONG Sub::Release() noexcept {
  const ULONG remaining = --references_;
  if (remaining == 0) delete this;
  return remaining;
}

HRESULT Sub::GetTypeInfoCount(UINT* count) noexcept {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT Sub::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
  if (!info) return E_POINTER;
  if (index != 0) return DISP_E_BADINDEX;
  return WithTypeLibrary(info);
}

HRESULT Sub::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  HRESULT hr = S_OK;
  ids[0] = DISPID_UNKNOWN;
  for (const Member& member : kMembers)
    if (names[0] && _wcsicmp(names[0], member.name) == 0) ids[0] = member.id;
  if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  for (UINT i = 1; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    hr = DISP_E_UNKNOWNNAME;  // arguments are passed by position only
  }
  return hr;
}

HRESULT Sub::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                    EXCEPINFO* exception, UINT* badArgument) noexcept {
  if (!params) return E_INVALIDARG;
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  if (params->cNamedArgs > 0) return DISP_E_NONAMEDARGS;
  if (result) VariantInit(result);
  const UINT count = params->cArgs;
  HRESULT hr = S_OK;
  // IDispatch hands arguments over last first.
  switch (id) {
    case kSupId: {
      if (count != 2) return DISP_E_BADPARAMCOUNT;
      IDispatch* application = nullptr;
      IDispatch* workbook = nullptr;
      if (!ObjectArgument(params->rgvarg[1], &application)) {
        if (badArgument) *badArgument = 1;
        return DISP_E_TYPEMISMATCH;
      }
      if (!ObjectArgument(params->rgvarg[0], &workbook)) {
        if (badArgument) *badArgument = 0;
        return DISP_E_TYPEMISMATCH;
      }
      hr = Sup(&application, &workbook);
      break;
    }
    case kKieuSoId: {
      if (count != 1) return DISP_E_BADPARAMCOUNT;
      BSTR loaiSo = nullptr;
      if (!TextArgument(params->rgvarg[0], &loaiSo)) {
        if (badArgument) *badArgument = 0;
        return DISP_E_TYPEMISMATCH;
      }
      hr = kieuSo(&loaiSo);
      break;
    }
    case kThongKeLoId:
      if (count != 0) return DISP_E_BADPARAMCOUNT;
      hr = ThongKeLo();
      break;
    default: return DISP_E_MEMBERNOTFOUND;
  }
  if (SUCCEEDED(hr)) return hr;
  // The method set the error information; hand it over in EXCEPINFO too.
  if (exception) {
    *exception = EXCEPINFO{};
    exception->scode = hr;
    Microsoft::WRL::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, &info) == S_OK && info) {
      info->GetDescription(&exception->bstrDescription);
      info->GetSource(&exception->bstrSource);
      SetErrorInfo(0, info.Get());
    }
  }
  return DISP_E_EXCEPTION;
}

HRESULT Sub::Sup(IDispatch** excelApp, IDispatch** thisWorkBook) noexcept {
  return Guarded(IID__Sub, nullptr, [&] {
    entry::Sup(Session::ForThisThread(), excelApp ? *excelApp : nullptr, thisWorkBook ? *thisWorkBook : nullptr);
  });
}

HRESULT Sub::kieuSo(BSTR* loaiSo) noexcept {
  return Guarded(IID__Sub, nullptr, [&] {
    ApplyNumberType(Session::ForThisThread(), win::Utf8FromBstr(loaiSo ? *loaiSo : nullptr));
  });
}

HRESULT Sub::ThongKeLo() noexcept {
  return Guarded(IID__Sub, nullptr,
                 [&] { RunStatistics(Session::ForThisThread(), Messages(), SystemLocalTime); });
}

HRESULT Sub::InterfaceSupportsErrorInfo(REFIID iid) noexcept { return iid == IID__Sub ? S_OK : S_FALSE; }

}  // namespace pradima::entry
