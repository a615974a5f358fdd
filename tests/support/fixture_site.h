#pragma once
// A results site on loopback for tests and benchmarks: an HTTP/1.1 server
// with keep-alive, one thread per connection, answering through a handler.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/date.h"

namespace pradima::testing {

struct FixtureRequest {
  std::string method;
  std::string target;                                        // path and query
  std::vector<std::pair<std::string, std::string>> headers;  // in wire order
  std::string Header(const std::string& name) const;
};

struct FixtureResponse {
  int status = 200;
  std::string body;
  bool dropConnection = false;  // close without answering
  std::vector<std::pair<std::string, std::string>> headers = {};  // besides the content's type and length
};

// The region ('2', '3', '1') and day of a page request, or region 0 when the
// target is not a results page request.
struct PageQuery {
  char region = 0;
  CivilDate day;
};
PageQuery ParsePageQuery(const std::string& target);

class FixtureSite {
 public:
  using Handler = std::function<FixtureResponse(const FixtureRequest&)>;

  // Listens on 127.0.0.1 at port (0: any free port).
  explicit FixtureSite(Handler handler, uint16_t port = 0);
  ~FixtureSite();
  FixtureSite(const FixtureSite&) = delete;
  FixtureSite& operator=(const FixtureSite&) = delete;

  std::string base_url() const { return "http://127.0.0.1:" + std::to_string(port_); }
  std::vector<FixtureRequest> requests() const;
  size_t request_count() const;
  int connections() const { return connections_; }

 private:
  void Serve(intptr_t socket);

  Handler handler_;
  intptr_t listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_ = false;
  std::atomic<int> connections_ = 0;
  mutable std::mutex mutex_;
  std::vector<FixtureRequest> requests_;
  std::vector<intptr_t> open_sockets_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

// Serves StandardPage for every page request, 404 for anything else.
FixtureResponse StandardPages(const FixtureRequest& request);

// StandardPages, but each page that `chosen` picks is answered with
// `failure` the first `times` times it is asked for (0: every time).
FixtureSite::Handler FailingPages(std::function<bool(const PageQuery&)> chosen, FixtureResponse failure,
                                  int times = 0);

}  // namespace pradima::testing
