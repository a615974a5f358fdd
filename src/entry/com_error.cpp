#include "entry/com_error.h"

#include <wrl/client.h>

#include <new>

#include "base/error.h"
#include "base/win/com_owners.h"
#include "session/win/variant_value.h"

namespace pradima::entry {
namespace {

constexpr const wchar_t* kSource = L"Pradima.Sub";

void SetErrorInformation(REFIID iid, const std::wstring& description) {
  Microsoft::WRL::ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(&create))) return;
  create->SetGUID(iid);
  create->SetSource(const_cast<LPOLESTR>(kSource));
  create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
  Microsoft::WRL::ComPtr<IErrorInfo> info;
  if (SUCCEEDED(create.As(&info))) SetErrorInfo(0, info.Get());
}

}  // namespace

HRESULT ReportCurrentException(REFIID iid, EXCEPINFO* exception) {
  HRESULT hr = E_FAIL;
  std::string description;
  try {
    throw;
  } catch (const Error& e) {
    hr = static_cast<HRESULT>(e.hresult());
    description = e.what();
  } catch (const std::bad_alloc&) {
    hr = E_OUTOFMEMORY;
    description = "out of memory";
  } catch (const std::exception& e) {
    hr = E_FAIL;
    description = e.what();
  } catch (...) {
    hr = E_UNEXPECTED;
    description = "an unexpected failure";
  }
  const std::wstring wide = win::WideFromUtf8(description);
  SetErrorInformation(iid, wide);
  if (exception) {
    *exception = EXCEPINFO{};
    exception->scode = hr;
    exception->bstrSource = SysAllocString(kSource);
    exception->bstrDescription = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  }
  return hr;
}

}  // namespace pradima::entry
