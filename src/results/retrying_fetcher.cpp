#include "results/retrying_fetcher.h"

#include <algorithm>
#include <string>
#include <thread>

namespace pradima {
namespace {

using std::chrono::seconds;

std::string Seconds(seconds s) { return std::to_string(s.count()) + " s"; }

class RealTime final : public Waiter {
 public:
  TimePoint Now() override { return std::chrono::steady_clock::now(); }
  bool WaitUntil(TimePoint until, const std::atomic<bool>* cancel) override {
    for (;;) {
      if (cancel && cancel->load()) return false;
      const TimePoint now = Now();
      if (now >= until) return true;
      std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(until - now, kCancelPoll));
    }
  }

 private:
  static constexpr std::chrono::milliseconds kCancelPoll{50};
};

}  // namespace

Waiter& RealTimeWaiter() {
  static RealTime waiter;
  return waiter;
}

class RetryingFetchers::Fetcher final : public PageFetcher {
 public:
  Fetcher(RetryingFetchers& shared, std::unique_ptr<PageFetcher> inner, const std::atomic<bool>* cancel)
      : shared_(shared), inner_(std::move(inner)), cancel_(cancel) {}

  std::string GetPageText(const std::string& url) override {
    const RetryPolicy& policy = shared_.policy_;
    seconds waited{0};
    seconds delay = policy.firstDelay;
    for (int attempt = 1;; ++attempt) {
      if (!shared_.WaitOutPause(cancel_)) throw Cancelled(url);
      try {
        return inner_->GetPageText(url);
      } catch (const FailedStatus& e) {
        const seconds left = std::max(policy.longestWait - waited, seconds{0});
        const seconds asked = e.retryAfter().value_or(seconds{0});
        if (attempt >= policy.attempts) {
          throw Error(e.hresult(),
                      std::string(e.what()) + " (" + std::to_string(attempt) + " attempts in " + Seconds(waited) + ")");
        }
        if (asked > left) {
          throw Error(e.hresult(), std::string(e.what()) + "; the site asks to wait " + Seconds(asked) +
                                       " before the next request, more than the " + Seconds(left) +
                                       " the update may still wait for this page");
        }
        const seconds wait = std::min(std::max(delay, asked), left);
        const TimePoint until = shared_.waiter_.Now() + wait;
        if (e.status() == 429) shared_.PauseUntil(until);
        if (!shared_.waiter_.WaitUntil(until, cancel_)) throw Cancelled(url);
        waited += wait;
        delay *= 2;
      }
    }
  }

 private:
  using TimePoint = Waiter::TimePoint;
  static Error Cancelled(const std::string& url) {
    return Error(kDownloadFailure, "GET " + url + " failed: cancelled while waiting to ask again");
  }

  RetryingFetchers& shared_;
  std::unique_ptr<PageFetcher> inner_;
  const std::atomic<bool>* cancel_;
};

std::unique_ptr<PageFetcher> RetryingFetchers::Make(std::unique_ptr<PageFetcher> inner,
                                                    const std::atomic<bool>* cancel) {
  return std::make_unique<Fetcher>(*this, std::move(inner), cancel);
}

bool RetryingFetchers::WaitOutPause(const std::atomic<bool>* cancel) {
  // A pause may grow while a connection waits for it: look again after.
  for (;;) {
    Waiter::TimePoint until;
    {
      std::lock_guard lock(mutex_);
      until = pausedUntil_;
    }
    if (waiter_.Now() >= until) return true;
    if (!waiter_.WaitUntil(until, cancel)) return false;
  }
}

void RetryingFetchers::PauseUntil(Waiter::TimePoint until) {
  std::lock_guard lock(mutex_);
  pausedUntil_ = std::max(pausedUntil_, until);
}

}  // namespace pradima
