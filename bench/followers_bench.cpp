// The followers' statistics on the bundled North history (2005 to 2026):
// each statistic's core call over the draw days already read, each whole
// command (workbook opened and read, report printed), and the floor, reading
// the draw days alone, in the same run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "cli/commands.h"
#include "cli/draw_request.h"
#include "selection/de_tables.h"
#include "selection/lo_after.h"
#include "selection/lo_gaps.h"
#include "selection/lo_repeats.h"
#include "selection/lo_together.h"
#include "selection/special_prizes.h"

namespace pradima {
namespace {

namespace fs = std::filesystem;
using Days = std::vector<DrawDay>;

// A copy of the example, so that no run touches the tree's file.
const std::string& Book() {
  static const std::string book = [] {
    const fs::path copy = fs::temp_directory_path() / "pradima-followers-bench.xlsx";
    fs::copy_file(PRADIMA_EXAMPLE_BOOK, copy, fs::copy_options::overwrite_existing);
    return copy.string();
  }();
  return book;
}

LocalDateTime Now() { return {{2026, 12, 7}, 12, 0, 0}; }

const std::vector<std::string> kNorth = {"--region", "Miền Bắc", "--weekday", "Tất cả"};

Days ReadDays() {
  cli::Options options;
  options.command = "xien";
  options.book = Book();
  options.region = kNorth[1];
  options.weekday = kNorth[3];
  std::ostringstream out, err;
  const cli::ToolContext context{"http://127.0.0.1:9", Now, out, err};
  return cli::ReadRequestedDays(options, context, std::string(terms::kTwoDigits)).days;
}

const Days& SharedDays() {
  static const Days days = ReadDays();
  return days;
}

// One statistic: its core call and its command line (after the workbook).
struct Statistic {
  const char* name;
  std::function<size_t(const Days&)> core;
  std::vector<std::string> command;
};

// A new statistic is one entry here.
const Statistic kStatistics[] = {
    {"xien --size 2", [](const Days& d) { return LoTogetherOf(d, 2, 20).size(); }, {"xien", "--size", "2"}},
    {"xien --size 3", [](const Days& d) { return LoTogetherOf(d, 3, 20).size(); }, {"xien", "--size", "3"}},
    {"gan", [](const Days& d) { return GapsOf(d, 2).size(); }, {"gan", "--type", "2 Con"}},
    {"de", [](const Days& d) { return DeByWeek(SpecialPrizesOf(d)).rows.size(); }, {"de"}},
    {"roi", [](const Days& d) { return RepeatsOf(d).size(); }, {"roi"}},
    {"bacnho", [](const Days& d) { return FollowersOf(d, {27}).numbers.size(); }, {"bacnho", "--after", "27"}},
};

void Core(benchmark::State& state, const Statistic& statistic) {
  const Days& days = SharedDays();
  for (auto _ : state) benchmark::DoNotOptimize(statistic.core(days));
  state.counters["draw_days"] = static_cast<double>(days.size());
}

void Command(benchmark::State& state, const Statistic& statistic) {
  std::vector<std::string> args = statistic.command;
  args.insert(args.begin() + 1, Book());
  args.insert(args.end(), kNorth.begin(), kNorth.end());
  args.insert(args.end(), {"--format", "csv"});
  for (auto _ : state) {
    std::ostringstream out, err;
    const int code = cli::RunCommand(args, "http://127.0.0.1:9", Now, out, err, false);
    if (code != 0) state.SkipWithError(err.str().c_str());
    benchmark::DoNotOptimize(out.str().size());
  }
}

// The floor under every command: the workbook opened and its draw days read.
void BM_ReadDrawDays(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadDays().size());
}
BENCHMARK(BM_ReadDrawDays)->Unit(benchmark::kMillisecond);

const bool kRegistered = [] {
  for (const Statistic& statistic : kStatistics) {
    benchmark::RegisterBenchmark((std::string("BM_Core/") + statistic.name).c_str(), Core, statistic)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("BM_Command/") + statistic.name).c_str(), Command, statistic)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
}  // namespace pradima
