#pragma once
#include "results/page_fetcher.h"

namespace pradima {

// The Windows page fetcher: a new "MSXML2.XMLHTTP" object per request,
// called late-bound by member name.
class XmlHttpPageFetcher final : public PageFetcher {
 public:
  std::string GetPageText(const std::string& url) override;
};

}  // namespace pradima
