#pragma once
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <functional>

#include "results/page_fetcher.h"

namespace pradima::win {

// The Windows page fetcher: a new "MSXML2.XMLHTTP" object per request,
// called late-bound by member name.
class XmlHttpPageFetcher final : public PageFetcher {
 public:
  using RequestFactory = std::function<Microsoft::WRL::ComPtr<IDispatch>()>;
  XmlHttpPageFetcher();
  // Tests hand in their own request objects.
  explicit XmlHttpPageFetcher(RequestFactory createRequest) : create_request_(std::move(createRequest)) {}

  std::string GetPageText(const std::string& url) override;

 private:
  RequestFactory create_request_;
};

}  // namespace pradima::win
