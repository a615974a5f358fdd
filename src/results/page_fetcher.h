#pragma once
#include <string>

namespace pradima {

// One synchronous HTTP GET of a results page with the engine's fixed
// request headers. Status 200 gives the body; any other status gives the
// empty text; a transport failure raises Error.
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
