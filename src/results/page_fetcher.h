#pragma once
#include <chrono>
#include <optional>
#include <string>

#include "base/error.h"

namespace pradima {

// A status that says the request failed rather than that the page has no
// results: a server error (5xx) or too many requests (429).
inline bool IsFailedStatus(long status) { return status == 429 || (status >= 500 && status <= 599); }

// A request answered with a failed status: raised as the failed transfer
// it is, with the status in its description and, when the site said how
// long to wait before asking again (Retry-After), that wait.
class FailedStatus : public Error {
 public:
  FailedStatus(const std::string& url, long status, std::optional<std::chrono::seconds> retryAfter = {})
      : Error(kDownloadFailure, "GET " + url + " failed: HTTP status " + std::to_string(status)),
        status_(status),
        retryAfter_(retryAfter) {}
  long status() const noexcept { return status_; }
  std::optional<std::chrono::seconds> retryAfter() const noexcept { return retryAfter_; }

 private:
  long status_;
  std::optional<std::chrono::seconds> retryAfter_;
};

// One synchronous HTTP GET of a results page with the engine's fixed
// request headers. Status 200 gives the body; a failed status (see
// IsFailedStatus) raises FailedStatus; any other status gives the empty
// text, a page without results; a transport failure raises Error.
class PageFetcher {
 public:
  virtual ~PageFetcher() = default;
  virtual std::string GetPageText(const std::string& url) = 0;
};

// The request headers of every page request, in the order they are set.
struct RequestHeader {
  const char* name;
  const char* value;
};
inline constexpr RequestHeader kRequestHeaders[] = {
    {"Content-Type", "application/json"},
    {"If-Modified-Since", "Sat, 1 Jan 2000 00:00:00 GMT"},
    {"User-Agent",
     "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/87.0.4280.141 "
     "Safari/537.36"},
};

}  // namespace pradima
