#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/date.h"
#include "results/page_fetcher.h"
#include "terms/lottery.h"

namespace pradima {

// The page URL of a region ("2" North, "3" Central, "1" South) and a day.
std::string PageUrl(std::string_view site, char region, const CivilDate& day);

// The pages of an update in the order it reads them: for each day from the
// first on, the North, Central and South pages.
class PagePlan {
 public:
  PagePlan(std::string site, int64_t firstDay, int32_t dayCount)
      : site_(std::move(site)), firstDay_(firstDay), dayCount_(dayCount) {}

  static constexpr size_t kPagesPerDay = terms::kRegions.size();

  size_t size() const { return static_cast<size_t>(dayCount_) * kPagesPerDay; }
  int32_t dayCount() const { return dayCount_; }
  CivilDate Day(size_t page) const { return CivilFromDays(firstDay_ + static_cast<int64_t>(page / kPagesPerDay)); }
  const terms::Region& RegionOf(size_t page) const { return terms::kRegions[page % kPagesPerDay]; }
  std::string Url(size_t page) const { return PageUrl(site_, RegionOf(page).pageQuery, Day(page)); }

 private:
  std::string site_;
  int64_t firstDay_;
  int32_t dayCount_;
};

// Where an update's pages come from. The update hands over its plan first,
// so a source may fetch ahead of the pages asked for.
class PageSource {
 public:
  virtual ~PageSource() = default;
  // Called once, before any page is asked for.
  virtual void Start(const PagePlan& plan) = 0;
  // The text of page `index` of the plan (see PageFetcher); pages are asked
  // for once each, in order. No text: the run was stopped and this page is
  // not at hand. A failed request raises its Error.
  virtual std::optional<std::string> Page(size_t index) = 0;
};

// Each page fetched when it is asked for, one after another.
class FetchingPageSource final : public PageSource {
 public:
  explicit FetchingPageSource(PageFetcher& fetcher) : fetcher_(fetcher) {}
  void Start(const PagePlan& plan) override { plan_.emplace(plan); }
  std::optional<std::string> Page(size_t index) override { return fetcher_.GetPageText(plan_->Url(index)); }

 private:
  PageFetcher& fetcher_;
  std::optional<PagePlan> plan_;
};

}  // namespace pradima
