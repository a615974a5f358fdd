#pragma once
#include <windows.h>

#include <atomic>

#include "pradima_h.h"

namespace pradima::entry {

// The one COM class. It has no state of its own: every instance on a thread
// works on that thread's workbook session.
class Sub final : public _Sub, public ISupportErrorInfo {
 public:
  Sub() noexcept;
  Sub(const Sub&) = delete;
  Sub& operator=(const Sub&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;

  // IDispatch, for late-bound callers
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* badArgument) noexcept override;

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
  ~Sub();
  std::atomic<ULONG> references_{1};
  bool handedOut_ = false;
};

}  // namespace pradima::entry
