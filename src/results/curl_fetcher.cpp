#include "results/curl_fetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <ctime>

#include "base/error.h"

namespace pradima {
namespace {

size_t AppendBody(char* data, size_t size, size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

// The headers of the last response that a failed status needs: each new
// status line (a redirect, an interim response) starts them afresh.
struct ResponseHeaders {
  std::string retryAfter;
  std::string date;
};

size_t KeepHeader(char* data, size_t size, size_t count, void* kept) {
  auto& headers = *static_cast<ResponseHeaders*>(kept);
  const std::string line(data, size * count);
  if (line.rfind("HTTP/", 0) == 0) headers = {};
  const size_t colon = line.find(':');
  if (colon == std::string::npos) return size * count;
  std::string name = line.substr(0, colon);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const size_t start = line.find_first_not_of(" \t", colon + 1);
  const size_t end = line.find_last_not_of(" \t\r\n");
  const std::string value = start == std::string::npos || end < start ? "" : line.substr(start, end + 1 - start);
  if (name == "retry-after") headers.retryAfter = value;
  if (name == "date") headers.date = value;
  return size * count;
}

// The wait a Retry-After value asks for: a number of seconds, or an HTTP
// date (any of its three forms, read by libcurl) counted from the
// response's own date when it has one, so that a clock set wrong here does
// not change the wait. None when the value is neither.
std::optional<std::chrono::seconds> RetryAfter(const ResponseHeaders& headers) {
  const std::string& value = headers.retryAfter;
  if (value.empty()) return std::nullopt;
  if (std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    // Nine digits are some thirty years: more is as good as forever.
    return std::chrono::seconds(value.size() > 9 ? 999999999 : std::stol(value));
  }
  const time_t at = curl_getdate(value.c_str(), nullptr);
  const time_t date = curl_getdate(headers.date.c_str(), nullptr);
  if (at == -1) return std::nullopt;
  return std::chrono::seconds(std::max<time_t>(0, at - (date == -1 ? std::time(nullptr) : date)));
}

struct CurlGlobal {
  CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

// libcurl asks this during a transfer, at least once a second; non-zero ends it.
int AbortWhenCancelled(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

}  // namespace

struct CurlPageFetcher::State {
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle{nullptr, curl_easy_cleanup};
  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers{nullptr, curl_slist_free_all};
  char error[CURL_ERROR_SIZE] = {};
  ResponseHeaders headersKept;
};

CurlPageFetcher::CurlPageFetcher(long stallSeconds, const std::atomic<bool>* cancel)
    : state_(std::make_unique<State>()) {
  static CurlGlobal global;
  state_->handle.reset(curl_easy_init());
  if (!state_->handle) throw Error(kDownloadFailure, "the HTTP client could not be created");
  curl_slist* list = nullptr;
  for (const RequestHeader& header : kRequestHeaders) {
    list = curl_slist_append(list, (std::string(header.name) + ": " + header.value).c_str());
  }
  state_->headers.reset(list);
  CURL* curl = state_->handle.get();
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, stallSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, stallSeconds);
  // No signals from libcurl's time-outs: fetchers may run on several threads.
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  if (cancel) {
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, AbortWhenCancelled);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(cancel));
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  }
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendBody);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, state_->error);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, KeepHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &state_->headersKept);
}

CurlPageFetcher::~CurlPageFetcher() = default;

std::string CurlPageFetcher::GetPageText(const std::string& url) {
  CURL* curl = state_->handle.get();
  std::string body;
  state_->error[0] = '\0';
  state_->headersKept = {};
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  const CURLcode result = curl_easy_perform(curl);
  if (result != CURLE_OK) {
    const std::string reason = result == CURLE_ABORTED_BY_CALLBACK ? std::string("cancelled")
                               : state_->error[0]                  ? std::string(state_->error)
                                                                   : std::string(curl_easy_strerror(result));
    throw Error(kDownloadFailure, "GET " + url + " failed: " + reason);
  }
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  if (IsFailedStatus(status)) {
    throw FailedStatus(url, status, RetryAfter(state_->headersKept));
  }
  return status == 200 ? body : std::string();
}

}  // namespace pradima
