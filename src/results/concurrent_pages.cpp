#include "results/concurrent_pages.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "base/error.h"

namespace pradima {
namespace {

// A stop comes from a signal handler, which cannot wake a waiting thread:
// waits look at it again this often.
constexpr std::chrono::milliseconds kStopPoll(20);

}  // namespace

ConcurrentPageSource::ConcurrentPageSource(int connections, const FetcherMaker& makeFetcher,
                                           std::function<bool()> stopRequested, int daysAhead)
    : stopRequested_(std::move(stopRequested)) {
  if (connections < 1) throw std::invalid_argument("a page source needs at least one connection");
  const int days = daysAhead > 0 ? daysAhead : kDaysAheadPerConnection * connections;
  window_ = static_cast<size_t>(days) * PagePlan::kPagesPerDay;
  slots_.resize(window_);
  // Made here, on the calling thread, before any worker runs.
  for (int i = 0; i < connections; ++i) fetchers_.push_back(makeFetcher(cancel_));
}

ConcurrentPageSource::~ConcurrentPageSource() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  cancel_ = true;
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void ConcurrentPageSource::Start(const PagePlan& plan) {
  plan_.emplace(plan);
  const size_t useful = std::min(fetchers_.size(), plan.size());
  for (size_t i = 0; i < useful; ++i) workers_.emplace_back([this, &fetcher = *fetchers_[i]] { Work(fetcher); });
}

bool ConcurrentPageSource::MayTakeNext() const { return next_ < plan_->size() && next_ < reading_ + window_; }

void ConcurrentPageSource::Work(PageFetcher& fetcher) {
  std::unique_lock lock(mutex_);
  for (;;) {
    while (!closing_ && !failed_ && !StopRequested() && !MayTakeNext()) {
      if (next_ >= plan_->size()) return;
      changed_.wait_for(lock, kStopPoll);
    }
    if (closing_ || failed_ || StopRequested()) return;
    const size_t index = next_++;
    lock.unlock();
    Slot result{true, {}, nullptr};
    try {
      // The plan does not change once started.
      result.page = fetcher.GetPageText(plan_->Url(index));
    } catch (...) {
      result.error = std::current_exception();
    }
    lock.lock();
    if (result.error) failed_ = true;
    slots_[index % window_] = std::move(result);
    changed_.notify_all();
  }
}

std::optional<std::string> ConcurrentPageSource::Page(size_t index) {
  std::unique_lock lock(mutex_);
  if (!plan_ || index != reading_ || index >= plan_->size()) {
    throw Error(VbError::InvalidArgument, "page " + std::to_string(index) + " asked for out of order");
  }
  Slot& slot = slots_[index % window_];
  for (;;) {
    if (slot.done && !slot.error) {
      std::string page = std::move(slot.page);
      slot = Slot{};
      ++reading_;
      changed_.notify_all();
      return page;
    }
    if (StopRequested()) {
      // Requests under way are of no more use.
      cancel_ = true;
      return std::nullopt;
    }
    if (slot.done) std::rethrow_exception(slot.error);
    changed_.wait_for(lock, kStopPoll);
  }
}

}  // namespace pradima
