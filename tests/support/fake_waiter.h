#pragma once
// Time that moves only when a wait ends, for the retries of failed requests:
// nothing sleeps, and every wait is noted in whole seconds.
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
    std::function<void()> during;
    {
      std::lock_guard lock(mutex_);
      waits_.push_back(std::chrono::duration_cast<std::chrono::seconds>(until - now_).count());
      during = std::exchange(duringNextWait, {});
    }
    if (during) during();
    if (cancel && cancel->load()) return false;
    std::lock_guard lock(mutex_);
    now_ = std::max(now_, until);
    return true;
  }
  std::vector<long> waits() {
    std::lock_guard lock(mutex_);
    return waits_;
  }

  std::function<void()> duringNextWait;  // what happens elsewhere while the next wait lasts

 private:
  std::mutex mutex_;
  TimePoint now_{std::chrono::hours(1)};
  std::vector<long> waits_;
};

}  // namespace pradima::testing
