#pragma once
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "results/page_fetcher.h"
#include "results/page_source.h"

namespace pradima {

// Fetches an update's pages ahead of the update over a few connections at
// once: one fetcher per connection, each on a thread of its own, taking the
// next page of the plan. At most `daysAhead` days of pages are fetched
// beyond the page the update waits for, so memory stays the same however
// many days the run has.
//
// A failed request stops new requests; the update still gets the pages
// before it, then its error, so the earliest failure is the one it sees.
// Once `stopRequested` says so, no new request starts and the update gets
// the pages already here, then no page; requests under way are given up.
class ConcurrentPageSource final : public PageSource {
 public:
  // Makes the fetcher of one connection; it gives up a request under way
  // when `cancel` turns true.
  using FetcherMaker = std::function<std::unique_ptr<PageFetcher>(const std::atomic<bool>& cancel)>;

  ConcurrentPageSource(int connections, const FetcherMaker& makeFetcher, std::function<bool()> stopRequested = {},
                       int daysAhead = 0);
  ~ConcurrentPageSource() override;
  ConcurrentPageSource(const ConcurrentPageSource&) = delete;
  ConcurrentPageSource& operator=(const ConcurrentPageSource&) = delete;

  // Days of pages fetched ahead for each connection, unless told otherwise.
  static constexpr int kDaysAheadPerConnection = 8;

  void Start(const PagePlan& plan) override;
  std::optional<std::string> Page(size_t index) override;

 private:
  struct Slot {
    bool done = false;
    std::string page;
    std::exception_ptr error;
  };
  bool StopRequested() const { return stopRequested_ && stopRequested_(); }
  bool MayTakeNext() const;
  void Work(PageFetcher& fetcher);

  std::vector<std::unique_ptr<PageFetcher>> fetchers_;
  std::function<bool()> stopRequested_;
  size_t window_;  // pages
  std::optional<PagePlan> plan_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot> slots_;  // page i in slot i % window_
  size_t next_ = 0;          // the next page to fetch
  size_t reading_ = 0;       // the page the update waits for
  bool failed_ = false;
  bool closing_ = false;
  std::atomic<bool> cancel_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace pradima
