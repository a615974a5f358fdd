#include "entry/sub.h"

#include <wrl/client.h>

#include <new>
#include <optional>

#include "base/error.h"
#include "entry/clock_source.h"
#include "entry/com_error.h"
#include "entry/module.h"
#include "entry/session_start.h"
#include "selection/number_type.h"
#include "session/address.h"
#include "session/win/dispatch.h"
#include "session/win/dispatch_host.h"
#include "session/win/range_place.h"
#include "session/win/variant_value.h"
#include "stats/run_statistics.h"
#include "terms/sheet_layout.h"
#include "text/win/message_box.h"

namespace pradima::entry {
namespace {

constexpr DISPID kSupId = 1;
constexpr DISPID kKieuSoId = 2;
constexpr DISPID kThongKeLoId = 3;
constexpr DISPID kLoGanId = 4;
constexpr DISPID kThongKeDeId = 5;
constexpr DISPID kLoXienId = 6;
constexpr DISPID kLoRoiId = 7;
constexpr DISPID kBacNhoId = 8;

// The defaults of the optional parameters, as the type library states them.
constexpr int32_t kDefaultRows = 20;
constexpr int32_t kDefaultSetSize = 2;
constexpr const wchar_t* kDefaultDeKind = L"tuan";

// The methods with their parameters, named as the type library names them;
// the first `required` are not optional. A whole-number parameter has its
// default in numberDefaults, every other parameter 0 there.
struct Member {
  const wchar_t* name;
  DISPID id;
  UINT required;
  UINT parameterCount;
  const wchar_t* parameters[3];
  int32_t numberDefaults[3];
};
constexpr Member kMembers[] = {
    {L"Sup", kSupId, 2, 2, {L"ExcelApp", L"ThisWorkBook"}, {}},
    {L"kieuSo", kKieuSoId, 1, 1, {L"loaiSo"}, {}},
    {L"ThongKeLo", kThongKeLoId, 0, 0, {}, {}},
    {L"LoGan", kLoGanId, 1, 2, {L"Dich", L"SoDong"}, {0, kDefaultRows}},
    {L"ThongKeDe", kThongKeDeId, 1, 2, {L"Dich", L"Kieu"}, {}},
    {L"LoXien", kLoXienId, 1, 3, {L"Dich", L"Co", L"SoDong"}, {0, kDefaultSetSize, kDefaultRows}},
    {L"LoRoi", kLoRoiId, 1, 1, {L"Dich"}, {}},
    {L"BacNho", kBacNhoId, 2, 3, {L"Dich", L"Sau", L"SoDong"}, {0, 0, kDefaultRows}},
};
constexpr UINT kMostParameters = 3;

const Member* MemberOf(DISPID id) {
  for (const Member& member : kMembers)
    if (member.id == id) return &member;
  return nullptr;
}

const VARIANT& Unwrapped(const VARIANT& argument) {
  return argument.vt == (VT_BYREF | VT_VARIANT) && argument.pvarVal ? *argument.pvarVal : argument;
}

// An object argument as a dispatch driven by the type library takes it: an
// IDispatch, or an IUnknown that answers to it, by value or by reference;
// Empty and Nothing stand for no object.
bool ObjectArgument(const VARIANT& argument, Microsoft::WRL::ComPtr<IDispatch>& object) {
  const VARIANT& v = Unwrapped(argument);
  IUnknown* unknown = nullptr;
  switch (v.vt) {
    case VT_EMPTY: object = nullptr; return true;
    case VT_DISPATCH: object = v.pdispVal; return true;
    case VT_BYREF | VT_DISPATCH: object = v.ppdispVal ? *v.ppdispVal : nullptr; return true;
    case VT_UNKNOWN: unknown = v.punkVal; break;
    case VT_BYREF | VT_UNKNOWN: unknown = v.ppunkVal ? *v.ppunkVal : nullptr; break;
    default: return false;
  }
  object = nullptr;
  return !unknown || SUCCEEDED(unknown->QueryInterface(IID_PPV_ARGS(&object)));
}

// A text argument: a string by reference goes on as the caller's own
// reference; anything else is coerced to text in a local copy, as a
// dispatch driven by the type library coerces it (a Range by its default
// property, a number to its decimal text, Empty to the empty text). The
// caller's variable is never changed.
BSTR* TextArgument(const VARIANT& argument, win::UniqueVariant& local) {
  const VARIANT& v = Unwrapped(argument);
  if (v.vt == (VT_BYREF | VT_BSTR) && v.pbstrVal) return v.pbstrVal;
  if (FAILED(VariantChangeType(local.get(), const_cast<VARIANT*>(&v), 0, VT_BSTR))) return nullptr;
  return &local->bstrVal;
}

// The index into rgvarg of each declared parameter, positional or named, or
// UINT(-1) for an optional one left out; false when a name is unknown or
// repeated.
bool ArgumentSlots(const Member& member, const DISPPARAMS& params, UINT* slots) {
  if (params.cNamedArgs > params.cArgs || (params.cNamedArgs > 0 && !params.rgdispidNamedArgs)) return false;
  const UINT positional = params.cArgs - params.cNamedArgs;
  for (UINT p = 0; p < member.parameterCount; ++p) slots[p] = p < positional ? params.cArgs - 1 - p : UINT(-1);
  for (UINT n = 0; n < params.cNamedArgs; ++n) {
    const DISPID p = params.rgdispidNamedArgs[n];
    if (p < 0 || static_cast<UINT>(p) >= member.parameterCount || slots[p] != UINT(-1)) return false;
    slots[p] = n;
  }
  return true;
}

// An argument left out: no slot, or the "missing" error value a caller
// passes for an optional parameter it skips.
bool Missing(const DISPPARAMS& params, UINT slot) {
  if (slot == UINT(-1)) return true;
  const VARIANT& v = Unwrapped(params.rgvarg[slot]);
  return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
}

// A whole-number argument, coerced as a dispatch driven by the type library
// coerces it; the coercion's failure (type mismatch, overflow) otherwise.
HRESULT LongArgument(const VARIANT& argument, int32_t& value) {
  win::UniqueVariant local;
  const HRESULT hr = VariantChangeType(local.get(), const_cast<VARIANT*>(&Unwrapped(argument)), 0, VT_I4);
  if (SUCCEEDED(hr)) value = local->lVal;
  return hr;
}

// Dich: a range object, by value, by reference or in a Variant, or a text;
// false for anything else (a number, Empty, Nothing, an object with no cells).
bool DestinationArgument(const VARIANT& argument, Destination& destination) {
  const VARIANT& v = Unwrapped(argument);
  if (v.vt == VT_BSTR || (v.vt == (VT_BYREF | VT_BSTR) && v.pbstrVal)) {
    destination.address = win::Utf8FromBstr(v.vt == VT_BSTR ? v.bstrVal : *v.pbstrVal);
    return true;
  }
  return ObjectArgument(argument, destination.range) && win::LooksLikeRange(destination.range.Get());
}

TableTarget TargetOf(const Session& call, const Destination& dich) {
  if (dich.range) {
    const win::RangePlace place = win::PlaceOfRange(dich.range.Get(), win::DispatchOf(call.workbook()).Get(), "Dich");
    return {place.codeName, place.row, place.column};
  }
  const std::optional<RangeRef> cells = ParseAddress(dich.address);
  if (!cells) throw Error(VbError::InvalidArgument, "Dich: \"" + dich.address + "\" is not the address of a cell");
  return {terms::kTablesCodeName, cells->first.row, cells->first.column};
}

HRESULT WithTypeLibrary(ITypeInfo** info) {
  *info = nullptr;
  std::wstring path;
  HRESULT hr = ModulePath(path);
  if (FAILED(hr)) return hr;
  Microsoft::WRL::ComPtr<ITypeLib> library;
  hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
  if (FAILED(hr)) return hr;
  return library->GetTypeInfoOfGuid(IID__Sub2, info);
}

win::MessageBoxSink& Messages() {
  static win::MessageBoxSink sink;
  return sink;
}

}  // namespace

Sub::Sub() noexcept { ObjectCreated(); }

Sub::~Sub() {
  // The last reference to any instance ends the thread's session; one that
  // never reached a caller ends nothing.
  if (handedOut_) {
    try {
      EndSession(Session::ForThisThread());
    } catch (...) {
      // The application may already be gone; the references are dropped regardless.
      Session::ForThisThread().ReleaseSession();
    }
  }
  ObjectDestroyed();
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
  const Member* member = nullptr;
  for (const Member& candidate : kMembers)
    if (names[0] && _wcsicmp(names[0], candidate.name) == 0) member = &candidate;
  ids[0] = member ? member->id : DISPID_UNKNOWN;
  HRESULT hr = member ? S_OK : DISP_E_UNKNOWNNAME;
  // Parameter names give the parameter's position.
  for (UINT i = 1; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    for (UINT p = 0; member && p < member->parameterCount; ++p)
      if (names[i] && _wcsicmp(names[i], member->parameters[p]) == 0) ids[i] = static_cast<DISPID>(p);
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT Sub::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                    UINT* badArgument) noexcept try {
  if (!params) return E_INVALIDARG;
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  const Member* member = MemberOf(id);
  if (!member) return DISP_E_MEMBERNOTFOUND;
  if (params->cArgs < member->required || params->cArgs > member->parameterCount) return DISP_E_BADPARAMCOUNT;
  UINT slots[kMostParameters] = {};
  if (!ArgumentSlots(*member, *params, slots)) return DISP_E_PARAMNOTFOUND;
  for (UINT p = 0; p < member->required; ++p)
    if (Missing(*params, slots[p])) return DISP_E_PARAMNOTOPTIONAL;
  if (result) VariantInit(result);
  const auto refused = [&](UINT parameter, HRESULT why) {
    if (badArgument) *badArgument = slots[parameter];
    return why;
  };
  const VARIANT* args = params->rgvarg;
  Destination dich;
  if (id >= kLoGanId && !DestinationArgument(args[slots[0]], dich)) return refused(0, DISP_E_TYPEMISMATCH);
  int32_t numbers[kMostParameters] = {};
  for (UINT p = 0; p < member->parameterCount; ++p) {
    numbers[p] = member->numberDefaults[p];
    if (numbers[p] == 0 || Missing(*params, slots[p])) continue;
    const HRESULT hr = LongArgument(args[slots[p]], numbers[p]);
    if (FAILED(hr)) return refused(p, hr);
  }
  HRESULT hr = S_OK;
  switch (id) {
    case kSupId: {
      Microsoft::WRL::ComPtr<IDispatch> application, workbook;
      if (!ObjectArgument(args[slots[0]], application)) return refused(0, DISP_E_TYPEMISMATCH);
      if (!ObjectArgument(args[slots[1]], workbook)) return refused(1, DISP_E_TYPEMISMATCH);
      hr = RunSup(application.Get(), workbook.Get(), exception);
      break;
    }
    case kKieuSoId: {
      win::UniqueVariant local;
      BSTR* loaiSo = TextArgument(args[slots[0]], local);
      if (!loaiSo) return refused(0, DISP_E_TYPEMISMATCH);
      hr = RunKieuSo(*loaiSo, exception);
      break;
    }
    case kThongKeLoId: hr = RunThongKeLo(exception); break;
    case kLoGanId:
      hr = RunTable(dich, exception,
                    [&](Session call, const TableTarget& at) { WriteLoGanTable(call, at, numbers[1], EntryClock()); });
      break;
    case kThongKeDeId: {
      win::UniqueVariant local, fallback = win::VariantOf(kDefaultDeKind);
      BSTR* kieu = Missing(*params, slots[1]) ? &fallback->bstrVal : TextArgument(args[slots[1]], local);
      if (!kieu) return refused(1, DISP_E_TYPEMISMATCH);
      const std::string kind = win::Utf8FromBstr(*kieu);
      hr = RunTable(dich, exception,
                    [&](Session call, const TableTarget& at) { WriteDeTable(call, at, kind, EntryClock()); });
      break;
    }
    case kLoXienId:
      hr = RunTable(dich, exception, [&](Session call, const TableTarget& at) {
        WriteLoXienTable(call, at, numbers[1], numbers[2], EntryClock());
      });
      break;
    case kLoRoiId:
      hr = RunTable(dich, exception,
                    [](Session call, const TableTarget& at) { WriteLoRoiTable(call, at, EntryClock()); });
      break;
    default: {
      win::UniqueVariant local;
      BSTR* sau = TextArgument(args[slots[1]], local);
      if (!sau) return refused(1, DISP_E_TYPEMISMATCH);
      const std::string after = win::Utf8FromBstr(*sau);
      hr = RunTable(dich, exception, [&](Session call, const TableTarget& at) {
        WriteBacNhoTable(call, at, after, numbers[2], EntryClock());
      });
      break;
    }
  }
  // Without an EXCEPINFO to carry it, the error's own HRESULT tells the caller.
  return SUCCEEDED(hr) || !exception ? hr : DISP_E_EXCEPTION;
} catch (const std::bad_alloc&) {
  return E_OUTOFMEMORY;
}

HRESULT Sub::Sup(IDispatch** excelApp, IDispatch** thisWorkBook) noexcept {
  return RunSup(excelApp ? *excelApp : nullptr, thisWorkBook ? *thisWorkBook : nullptr, nullptr);
}

HRESULT Sub::kieuSo(BSTR* loaiSo) noexcept { return RunKieuSo(loaiSo ? *loaiSo : nullptr, nullptr); }

HRESULT Sub::ThongKeLo() noexcept { return RunThongKeLo(nullptr); }

// Each method keeps its instance alive to its end: an event macro may drop
// the caller's last reference meanwhile.
HRESULT Sub::RunSup(IDispatch* excelApp, IDispatch* thisWorkBook, EXCEPINFO* exception) noexcept {
  const Microsoft::WRL::ComPtr<Sub> self(this);
  return Guarded(IID__Sub, exception,
                 [&] { entry::Sup(Session::ForThisThread(), excelApp, thisWorkBook, EntryClock()); });
}

HRESULT Sub::RunKieuSo(BSTR loaiSo, EXCEPINFO* exception) noexcept {
  const Microsoft::WRL::ComPtr<Sub> self(this);
  return Guarded(IID__Sub, exception, [&] { ApplyNumberType(Session::ForThisThread(), win::Utf8FromBstr(loaiSo)); });
}

HRESULT Sub::RunThongKeLo(EXCEPINFO* exception) noexcept {
  const Microsoft::WRL::ComPtr<Sub> self(this);
  return Guarded(IID__Sub, exception, [&] { RunStatistics(Session::ForThisThread(), Messages(), EntryClock()); });
}

HRESULT Sub::LoGan(VARIANT dich, LONG soDong) noexcept {
  return RunTable(dich, "LoGan",
                  [&](Session call, const TableTarget& at) { WriteLoGanTable(call, at, soDong, EntryClock()); });
}

HRESULT Sub::ThongKeDe(VARIANT dich, BSTR kieu) noexcept {
  return RunTable(dich, "ThongKeDe", [&](Session call, const TableTarget& at) {
    WriteDeTable(call, at, win::Utf8FromBstr(kieu), EntryClock());
  });
}

HRESULT Sub::LoXien(VARIANT dich, LONG co, LONG soDong) noexcept {
  return RunTable(dich, "LoXien",
                  [&](Session call, const TableTarget& at) { WriteLoXienTable(call, at, co, soDong, EntryClock()); });
}

HRESULT Sub::LoRoi(VARIANT dich) noexcept {
  return RunTable(dich, "LoRoi", [](Session call, const TableTarget& at) { WriteLoRoiTable(call, at, EntryClock()); });
}

HRESULT Sub::BacNho(VARIANT dich, BSTR sau, LONG soDong) noexcept {
  return RunTable(dich, "BacNho", [&](Session call, const TableTarget& at) {
    WriteBacNhoTable(call, at, win::Utf8FromBstr(sau), soDong, EntryClock());
  });
}

HRESULT Sub::RunTable(const Destination& dich, EXCEPINFO* exception, const TableAction& action) noexcept {
  const Microsoft::WRL::ComPtr<Sub> self(this);
  return Guarded(IID__Sub2, exception, [&] {
    const Session call = Session::ForThisThread();
    action(call, TargetOf(call, dich));
  });
}

HRESULT Sub::RunTable(const VARIANT& dich, const char* method, const TableAction& action) noexcept {
  Destination destination;
  if (DestinationArgument(dich, destination)) return RunTable(destination, nullptr, action);
  return Guarded(IID__Sub2, nullptr, [&] {
    throw Error(VbError::TypeMismatch, std::string(method) + ": Dich is neither a range nor the text of an address");
  });
}

HRESULT Sub::QueryInterface(REFIID iid, void** object) noexcept {
  if (object && iid == IID__Sub) {
    *object = static_cast<_Sub*>(this);
    AddRef();
    return S_OK;
  }
  return ComObject::QueryInterface(iid, object);
}

HRESULT Sub::InterfaceSupportsErrorInfo(REFIID iid) noexcept {
  return iid == IID__Sub || iid == IID__Sub2 ? S_OK : S_FALSE;
}

}  // namespace pradima::entry
