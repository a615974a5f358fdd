#pragma once
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>

#include "results/page_fetcher.h"

namespace pradima {

// The waiting between attempts: a clock and a sleep, handed in so that
// tests do not sleep.
class Waiter {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  virtual ~Waiter() = default;
  virtual TimePoint Now() = 0;
  // Returns true at `until`, or false as soon as `cancel` (if given) turns true.
  virtual bool WaitUntil(TimePoint until, const std::atomic<bool>* cancel) = 0;
};

// Real time; a wait looks at its cancel flag every 50 ms.
Waiter& RealTimeWaiter();

struct RetryPolicy {
  int attempts = 5;                      // the first request and its retries
  std::chrono::seconds firstDelay{2};    // before the first retry, doubled for each next one
  std::chrono::seconds longestWait{60};  // the waits of one request in all
};

// The fetchers of the connections of one run, for a client that runs
// unattended: each asks again after a failed status (a server error or too
// many requests), waiting longer each time or as long as the site says
// (Retry-After), up to the policy's attempts and its longest wait; after
// that, or when the site asks for a longer wait than is left, the request
// fails, and its error says why. Too many requests (429) pauses every
// connection, not only the one that was told. A transport failure is
// raised at once, as before.
class RetryingFetchers {
 public:
  explicit RetryingFetchers(Waiter& waiter, RetryPolicy policy = {}) : waiter_(waiter), policy_(policy) {}

  // One connection's fetcher around `inner`, kept no longer than this; its
  // waits are given up, with an error, once `cancel` turns true.
  std::unique_ptr<PageFetcher> Make(std::unique_ptr<PageFetcher> inner, const std::atomic<bool>* cancel = nullptr);

 private:
  class Fetcher;
  // Waits out a pause of every connection; false when cancelled.
  bool WaitOutPause(const std::atomic<bool>* cancel);
  void PauseUntil(Waiter::TimePoint until);

  Waiter& waiter_;
  RetryPolicy policy_;
  std::mutex mutex_;
  Waiter::TimePoint pausedUntil_{};
};

}  // namespace pradima
