#pragma once
#include <atomic>
#include <memory>

#include "results/page_fetcher.h"

namespace pradima {

// The portable page fetcher: libcurl, one connection kept alive across the
// requests of a run, TLS verified, redirects followed, and a request that
// makes no progress for the stall limit given up with an error. Fetchers
// may work on threads of their own, one thread each; the first one made
// sets libcurl up, so make them before starting those threads. A request
// under way when `cancel` turns true is given up within about a second.
class CurlPageFetcher final : public PageFetcher {
 public:
  explicit CurlPageFetcher(long stallSeconds = 60, const std::atomic<bool>* cancel = nullptr);
  ~CurlPageFetcher() override;
  CurlPageFetcher(const CurlPageFetcher&) = delete;
  CurlPageFetcher& operator=(const CurlPageFetcher&) = delete;

  std::string GetPageText(const std::string& url) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pradima
