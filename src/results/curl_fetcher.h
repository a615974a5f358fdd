#pragma once
#include <memory>

#include "results/page_fetcher.h"

namespace pradima {

// The portable page fetcher: libcurl, one connection kept alive across the
// requests of a run, TLS verified, redirects followed, and a request that
// makes no progress for the stall limit given up with an error.
class CurlPageFetcher final : public PageFetcher {
 public:
  explicit CurlPageFetcher(long stallSeconds = 60);
  ~CurlPageFetcher() override;
  CurlPageFetcher(const CurlPageFetcher&) = delete;
  CurlPageFetcher& operator=(const CurlPageFetcher&) = delete;

  std::string GetPageText(const std::string& url) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pradima
