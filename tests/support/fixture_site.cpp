#include "support/fixture_site.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "support/fixture_pages.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using socklen_t = int;
namespace {
constexpr int kShutdownBoth = SD_BOTH;
constexpr int kSendFlags = 0;
void CloseSocket(intptr_t s) { closesocket(static_cast<SOCKET>(s)); }
struct WinsockInit {
  WinsockInit() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
};
}  // namespace
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
namespace {
constexpr int kShutdownBoth = SHUT_RDWR;
constexpr int kSendFlags = MSG_NOSIGNAL;  // a client gone away is no signal to the tests
void CloseSocket(intptr_t s) { close(static_cast<int>(s)); }
struct WinsockInit {};
}  // namespace
#endif

namespace pradima::testing {
namespace {

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

}  // namespace

std::string FixtureRequest::Header(const std::string& name) const {
  const auto same = [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); };
  for (const auto& [key, value] : headers)
    if (std::equal(key.begin(), key.end(), name.begin(), name.end(), same)) return value;
  return {};
}

PageQuery ParsePageQuery(const std::string& target) {
  int region = 0;
  CivilDate day;
  const int read = std::sscanf(target.c_str(), "/tra-cuu-ket-qua-xo-so.html?mien=%d&thu=0&ngay=%d&thang=%d&nam=%d",
                               &region, &day.day, &day.month, &day.year);
  if (read != 4 || region < 1 || region > 3 || !IsValidCivil(day)) return {};
  return {static_cast<char>('0' + region), day};
}

FixtureResponse StandardPages(const FixtureRequest& request) {
  const PageQuery query = ParsePageQuery(request.target);
  if (!query.region) return {404, "no such page", false};
  return {200, StandardPage(query.day, query.region), false};
}

FixtureSite::Handler FailingPages(std::function<bool(const PageQuery&)> chosen, FixtureResponse failure, int times) {
  auto asked = std::make_shared<std::pair<std::mutex, std::map<std::string, int>>>();
  return [=](const FixtureRequest& request) {
    if (!chosen(ParsePageQuery(request.target))) return StandardPages(request);
    std::lock_guard lock(asked->first);
    return times == 0 || ++asked->second[request.target] <= times ? failure : StandardPages(request);
  };
}

FixtureSite::FixtureSite(Handler handler, uint16_t port) : handler_(std::move(handler)) {
  [[maybe_unused]] static WinsockInit winsock;
  const auto s = socket(AF_INET, SOCK_STREAM, 0);
  listener_ = static_cast<intptr_t>(s);
  int yes = 1;
  setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
  sockaddr_in address = Loopback(port);
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 16) != 0) {
    CloseSocket(listener_);
    throw std::runtime_error("fixture site: cannot listen on 127.0.0.1:" + std::to_string(port));
  }
  socklen_t length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] {
    while (!stopping_) {
      const auto client = accept(listener_, nullptr, nullptr);
      if (stopping_ || static_cast<intptr_t>(client) == -1) break;
      ++connections_;
      std::lock_guard lock(mutex_);
      open_sockets_.push_back(static_cast<intptr_t>(client));
      workers_.emplace_back([this, client] { Serve(static_cast<intptr_t>(client)); });
    }
  });
}

FixtureSite::~FixtureSite() {
  stopping_ = true;
  // Closing a listening socket does not wake accept() everywhere (Wine);
  // a connection of our own does.
  const auto waker = socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = Loopback(port_);
  connect(waker, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  CloseSocket(static_cast<intptr_t>(waker));
  shutdown(listener_, kShutdownBoth);
  CloseSocket(listener_);
  {
    std::lock_guard lock(mutex_);
    for (intptr_t s : open_sockets_) shutdown(s, kShutdownBoth);
  }
  acceptor_.join();
  for (std::thread& worker : workers_) worker.join();
  // Connections are closed only here, so no socket number is reused while
  // this site may still shut it down.
  for (intptr_t s : open_sockets_) CloseSocket(s);
}

std::vector<FixtureRequest> FixtureSite::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

size_t FixtureSite::request_count() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

void FixtureSite::Serve(intptr_t s) {
  // Short receive time-outs let the worker notice the site stopping: a
  // shutdown does not wake a blocked recv everywhere (Wine).
#ifdef _WIN32
  DWORD timeout = 100;
#else
  timeval timeout{0, 100000};
#endif
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  std::string buffer;
  char chunk[16384];
  for (;;) {
    size_t headerEnd;
    while ((headerEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
      const auto n = recv(s, chunk, static_cast<int>(sizeof chunk), 0);
      if (n > 0) {
        buffer.append(chunk, static_cast<size_t>(n));
        continue;
      }
      if (n == 0 || stopping_) return;
#ifdef _WIN32
      if (WSAGetLastError() != WSAETIMEDOUT) return;
#else
      if (errno != EAGAIN && errno != EWOULDBLOCK) return;
#endif
    }
    // Request line, then one header a line; no request carries a body.
    FixtureRequest request;
    std::istringstream head(buffer.substr(0, headerEnd));
    buffer.erase(0, headerEnd + 4);
    head >> request.method >> request.target;
    for (std::string line; std::getline(head, line);) {
      const size_t colon = line.find(':');
      if (colon == std::string::npos) continue;
      const size_t value = line.find_first_not_of(' ', colon + 1);
      const size_t valueEnd = line.find_last_not_of('\r');
      request.headers.emplace_back(line.substr(0, colon),
                                   value > valueEnd ? "" : line.substr(value, valueEnd + 1 - value));
    }
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    const FixtureResponse response = handler_(request);
    if (response.dropConnection) {
      shutdown(s, kShutdownBoth);
      return;
    }
    std::string reply = "HTTP/1.1 " + std::to_string(response.status) +
                        " Fixture\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                        std::to_string(response.body.size()) + "\r\n";
    for (const auto& [name, value] : response.headers) reply += name + ": " + value + "\r\n";
    reply += "\r\n" + response.body;
    for (size_t sent = 0; sent < reply.size();) {
      const auto n = send(s, reply.data() + sent, static_cast<int>(reply.size() - sent), kSendFlags);
      if (n <= 0) return;
      sent += static_cast<size_t>(n);
    }
  }
}

}  // namespace pradima::testing
