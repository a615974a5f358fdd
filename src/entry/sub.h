#pragma once
#include <windows.h>

#include "base/win/com_object.h"
#include "entry/type_library.h"

namespace pradima::entry {

// The one COM class. It has no state of its own: every instance on a thread
// works on that thread's workbook session.
class Sub final : public win::ComObject<_Sub, ISupportErrorInfo> {
 public:
  Sub() noexcept;

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

  bool handedOut_ = false;
};

}  // namespace pradima::entry
