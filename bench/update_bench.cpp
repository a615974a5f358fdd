#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <map>
#include <mutex>

#include "results/curl_fetcher.h"
#include "results/update_results.h"
#include "session/standard_workbook.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"

namespace pradima {
namespace {

// The fixture site answers every page instantly from a cache, so the run
// measures the engine and the client, not page generation.
testing::FixtureSite& Site() {
  static std::mutex mutex;
  static std::map<std::string, std::string> cache;
  static testing::FixtureSite site([](const testing::FixtureRequest& request) {
    std::lock_guard lock(mutex);
    auto it = cache.find(request.target);
    if (it == cache.end()) it = cache.emplace(request.target, testing::StandardPages(request).body).first;
    return testing::FixtureResponse{200, it->second};
  });
  return site;
}

const CivilDate kToday{2026, 12, 6};

std::vector<std::string> AllUrls() {
  std::vector<std::string> urls;
  for (int64_t d = DaysFromCivil({2005, 1, 1}); d <= DaysFromCivil(kToday); ++d)
    for (char region : {'2', '3', '1'}) urls.push_back(PageUrl(Site().base_url(), region, CivilFromDays(d)));
  return urls;
}

// Fills the site's cache once, so neither run below pays for making pages.
void WarmSite(const std::vector<std::string>& urls) {
  static const bool warmed = [&urls] {
    CurlPageFetcher fetcher;
    for (const std::string& url : urls) fetcher.GetPageText(url);
    return true;
  }();
  (void)warmed;
}

// The same GETs with the same client and nothing else.
void BM_BareGetsOfAFullRun(benchmark::State& state) {
  const std::vector<std::string> urls = AllUrls();
  WarmSite(urls);
  for (auto _ : state) {
    CurlPageFetcher fetcher;
    size_t bytes = 0;
    for (const std::string& url : urls) bytes += fetcher.GetPageText(url).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["requests"] = static_cast<double>(urls.size());
}
BENCHMARK(BM_BareGetsOfAFullRun)->Unit(benchmark::kMillisecond)->Iterations(1);

// A first run on an empty results sheet: 1 January 2005 to today.
void BM_FullFirstRun(benchmark::State& state) {
  WarmSite(AllUrls());
  for (auto _ : state) {
    state.PauseTiming();
    auto book = NewStandardWorkbook(kToday);
    Session session;
    session.SetWorkbook(book);
    session.BindSheets();
    state.ResumeTiming();
    CurlPageFetcher fetcher;
    UpdateResults(
        session, fetcher,
        [] {
          return LocalDateTime{kToday, 19, 0, 0};
        },
        Site().base_url());
    state.counters["rows"] = book->SheetByCodeName("Sheet1")->LastRowAtOrAbove(1000000, 1) - 4;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_FullFirstRun)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace pradima
