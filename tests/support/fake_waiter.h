#pragma once
// Time that moves only when a wait ends, so that nothing sleeps; every wait
// is noted in whole seconds.
#include <algorithm>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "results/retrying_fetcher.h"

namespace pradima::testing {

class FakeWaiter final : public Waiter {
 public:
  TimePoint Now() override {
    std::lock_guard lock(mutex_);
    return now_;
  }
  bool WaitUntil(TimePoint until, const std::atomic<bool>* cancel) override {
    std::unique_lock lock(mutex_);
    waits_.push_back(std::chrono::duration_cast<std::chrono::seconds>(until - now_).count());
    const std::function<void()> during = std::exchange(duringNextWait, {});
    lock.unlock();
    if (during) during();
    lock.lock();
    now_ = std::max(now_, until);
    return !(cancel && cancel->load());
  }
  std::vector<long> waits() {
    std::lock_guard lock(mutex_);
    return waits_;
  }
  std::function<void()> duringNextWait;  // what another connection does meanwhile

 private:
  std::mutex mutex_;
  TimePoint now_{std::chrono::hours(1)};
  std::vector<long> waits_;
};

}  // namespace pradima::testing
