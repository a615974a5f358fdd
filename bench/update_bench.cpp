#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "padded_page.h"
#include "results/concurrent_pages.h"
#include "cli/commands.h"
#include "xlsx/xlsx_workbook.h"
#include "results/curl_fetcher.h"
#include "results/update_results.h"
#include "session/address.h"
#include "session/standard_workbook.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"

extern char** environ;

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

// A first download of two years (2,190 pages) from a site that takes 20 ms
// per answer, as a real site takes some hundreds: the time goes down with
// the connections, and the rows stay the same. The goal for 4 connections:
// at least 3 times as fast as 1 (the speedup counter).
void BM_TwoYearsFrom20MsSite(benchmark::State& state) {
  static testing::FixtureSite site([](const testing::FixtureRequest& request) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return testing::StandardPages(request);
  });
  static std::map<int64_t, double> seconds;  // by connections
  static Block firstRows;
  const int connections = static_cast<int>(state.range(0));
  for (auto _ : state) {
    auto book = NewStandardWorkbook({2005, 1, 1});
    Session session;
    session.SetWorkbook(book);
    session.BindSheets();
    const auto started = std::chrono::steady_clock::now();
    ConcurrentPageSource source(
        connections, [](const std::atomic<bool>& cancel) { return std::make_unique<CurlPageFetcher>(60, &cancel); });
    const UpdateOutcome outcome = UpdateResultsInParts(
        session, source,
        [] {
          return LocalDateTime{{2006, 12, 31}, 19, 0, 0};
        },
        site.base_url());
    seconds[connections] = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const Block rows = book->SheetByCodeName("Sheet1")->Read(*ParseAddress("A5:FF734"));
    if (outcome.daysAdded != 730) state.SkipWithError("not every day was added");
    if (firstRows.empty()) firstRows = rows;
    if (rows != firstRows) state.SkipWithError("the rows differ from those of the first run");
  }
  if (seconds.count(1) && connections != 1) state.counters["speedup"] = seconds[1] / seconds[connections];
}
BENCHMARK(BM_TwoYearsFrom20MsSite)->ArgName("connections")->Arg(1)->Arg(4)->Unit(benchmark::kSecond)->Iterations(1);

// The peak memory of the tool's whole first download of 1, 2, 4 and 8 years
// (4 connections, the workbook saved), each run in a process of its own,
// from pages padded to 100 kB as real ones are: flat means it grows with
// the rows the workbook keeps, not with the pages fetched. Needs the
// tests' build of the tool.
void BM_ToolPeakMemoryByYears(benchmark::State& state) {
#ifdef PRADIMA_TEST_TOOL
  static testing::FixtureSite site([](const testing::FixtureRequest& request) {
    const testing::PageQuery query = testing::ParsePageQuery(request.target);
    if (!query.region) return testing::FixtureResponse{404, ""};
    return testing::FixtureResponse{200, PaddedPage(testing::StandardPage(query.day, query.region), 100000)};
  });
  const int years = static_cast<int>(state.range(0));
  const std::filesystem::path book =
      std::filesystem::temp_directory_path() / ("pradima-bench-" + std::to_string(getpid()) + ".xlsx");
  std::string siteVariable = "PRADIMA_TEST_SITE=" + site.base_url();
  std::string nowVariable = "PRADIMA_TEST_NOW=" + std::to_string(2004 + years) + "-12-31 19:00";
  std::vector<char*> environment = {siteVariable.data(), nowVariable.data()};
  for (char** entry = environ; *entry; ++entry) environment.push_back(*entry);
  environment.push_back(nullptr);
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(book);
    cli::CreateStandardWorkbook(book.string(), {2005, 1, 1});
    state.ResumeTiming();
    std::string tool = PRADIMA_TEST_TOOL, command = "update", path = book.string();
    char* argv[] = {tool.data(), command.data(), path.data(), nullptr};
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &files, nullptr, argv, environment.data()) != 0) {
      state.SkipWithError("cannot start the tool");
      break;
    }
    posix_spawn_file_actions_destroy(&files);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the update failed");
    state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  }
  const double days = static_cast<double>(DaysFromCivil({2004 + years, 12, 31}) - DaysFromCivil({2005, 1, 1}) + 1);
  state.counters["days"] = days;
  state.counters["pages_fetched_mb"] = days * 3 * 100000 / 1e6;
  std::filesystem::remove(book);
#else
  state.SkipWithError("built without the tests' build of the tool");
#endif
}
BENCHMARK(BM_ToolPeakMemoryByYears)
    ->ArgName("years")
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

}  // namespace
}  // namespace pradima
