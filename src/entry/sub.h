#pragma once
#include <windows.h>

#include <wrl/client.h>

#include <functional>
#include <string>

#include "base/win/com_object.h"
#include "entry/type_library.h"
#include "session/session.h"
#include "stats/follower_tables.h"

namespace pradima::entry {

// Where a method's table goes, as the caller gave it: a range object, or
// the text of an address on the statistics sheet.
struct Destination {
  Microsoft::WRL::ComPtr<IDispatch> range;
  std::string address;
};

// The one COM class. It has no state of its own: every instance on a thread
// works on that thread's workbook session. It answers to _Sub, for clients
// bound to it, and to _Sub2, which adds the statistics tables.
class Sub final : public win::ComObject<_Sub2, ISupportErrorInfo> {
 public:
  Sub() noexcept;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;

  // IDispatch, for late-bound callers
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* badArgument) noexcept override;

  // _Sub
  HRESULT STDMETHODCALLTYPE Sup(IDispatch** excelApp, IDispatch** thisWorkBook) noexcept override;
  HRESULT STDMETHODCALLTYPE kieuSo(BSTR* loaiSo) noexcept override;
  HRESULT STDMETHODCALLTYPE ThongKeLo() noexcept override;

  // _Sub2
  HRESULT STDMETHODCALLTYPE LoGan(VARIANT dich, LONG soDong) noexcept override;
  HRESULT STDMETHODCALLTYPE ThongKeDe(VARIANT dich, BSTR kieu) noexcept override;
  HRESULT STDMETHODCALLTYPE LoXien(VARIANT dich, LONG co, LONG soDong) noexcept override;
  HRESULT STDMETHODCALLTYPE LoRoi(VARIANT dich) noexcept override;
  HRESULT STDMETHODCALLTYPE BacNho(VARIANT dich, BSTR sau, LONG soDong) noexcept override;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) noexcept override;

  // Called by the class factory once a caller holds the instance: only such
  // an instance ends the thread's session when it goes.
  void MarkHandedOut() noexcept { handedOut_ = true; }

 private:
  ~Sub() override;

  // The methods as the vtable and Invoke both run them; a failure sets the
  // error information and, when Invoke passes one, fills `exception`.
  HRESULT RunSup(IDispatch* excelApp, IDispatch* thisWorkBook, EXCEPINFO* exception) noexcept;
  HRESULT RunKieuSo(BSTR loaiSo, EXCEPINFO* exception) noexcept;
  HRESULT RunThongKeLo(EXCEPINFO* exception) noexcept;
  // A table method: the target made from Dich on the call's own copy of the
  // session, then the engine's operation.
  using TableAction = std::function<void(Session, const TableTarget&)>;
  HRESULT RunTable(const Destination& dich, EXCEPINFO* exception, const TableAction& action) noexcept;
  // The same from the vtable, where Dich may still be of any type.
  HRESULT RunTable(const VARIANT& dich, const char* method, const TableAction& action) noexcept;

  bool handedOut_ = false;
};

}  // namespace pradima::entry
