#include "results/win/xmlhttp_fetcher.h"

#include "base/error.h"
#include "base/win/hresult.h"
#include "session/win/dispatch.h"
#include "session/win/variant_value.h"

namespace pradima::win {

using win::DispatchObject;
using win::UniqueVariant;
using win::VariantOf;

XmlHttpPageFetcher::XmlHttpPageFetcher()
    : create_request_([] {
        CLSID clsid{};
        win::ThrowIfFailed(CLSIDFromProgID(L"MSXML2.XMLHTTP", &clsid), "the HTTP request class MSXML2.XMLHTTP");
        Microsoft::WRL::ComPtr<IDispatch> object;
        win::ThrowIfFailed(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object)),
                           "creating MSXML2.XMLHTTP");
        return object;
      }) {}

std::string XmlHttpPageFetcher::GetPageText(const std::string& url) {
  DispatchObject request(create_request_());

  const std::wstring wideUrl = win::WideFromUtf8(url);
  const UniqueVariant method = VariantOf(L"GET");
  const UniqueVariant target = VariantOf(wideUrl.c_str());
  const UniqueVariant synchronous = VariantOf(false);
  request.Call(L"Open", {method.get(), target.get(), synchronous.get()});
  for (const RequestHeader& header : kRequestHeaders) {
    const UniqueVariant name = VariantOf(win::WideFromUtf8(header.name).c_str());
    const UniqueVariant value = VariantOf(win::WideFromUtf8(header.value).c_str());
    request.Call(L"setRequestHeader", {name.get(), value.get()});
  }
  try {
    request.Call(L"send");
  } catch (const Error& e) {
    throw Error(e.hresult(), "GET " + url + " failed: " + e.what());
  }
  const UniqueVariant statusVariant = request.Get(L"Status");
  const Value status = win::ValueFromVariant(*statusVariant.get());
  // A dropped connection can come back as a network error code (12xxx) or 0
  // in place of an HTTP status: that is a failed request, not a page.
  if (!status.IsNumber() || status.number() < 100 || status.number() > 599) {
    throw Error(kDownloadFailure,
                "GET " + url + " failed: no HTTP status (" + std::to_string(static_cast<long>(status.number())) + ")");
  }
  // One attempt: a server error or too many requests fails the run.
  if (IsFailedStatus(static_cast<long>(status.number()))) throw FailedStatus(url, static_cast<long>(status.number()));
  if (status.number() != 200) return {};
  const UniqueVariant text = request.Get(L"responseText");
  return std::string(win::ValueFromVariant(*text.get()).text());
}

}  // namespace pradima::win
