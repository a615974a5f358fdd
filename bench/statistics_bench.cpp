#include <benchmark/benchmark.h>

#include "results_block.h"
#include "selection/count_lo.h"
#include "selection/number_type.h"
#include "stats/run_statistics.h"
#include "support/whole_block_count.h"
#include "text/telex.h"

namespace pradima {
namespace {

constexpr int kDays = 8000;

struct Workbook {
  Workbook() {
    bench::FillResults(*book->SheetByCodeName("Sheet1"), kDays);
    session.SetApplication(app);
    session.SetWorkbook(book);
    session.BindSheets();
    block = book->SheetByCodeName("Sheet1")->Read(*ParseAddress("A5:FF" + std::to_string(4 + kDays)));
    marks = MarkBlockColumns(book->SheetByCodeName("Sheet2")->GetRange("CaiDatMien")->GetValue());
  }
  std::shared_ptr<MemoryWorkbook> book = NewStandardWorkbook({2026, 12, 6});
  std::shared_ptr<MemoryApplication> app = std::make_shared<MemoryApplication>();
  Session session;
  Block block;
  BlockMarks marks;
};

Workbook& Shared() {
  static Workbook workbook;
  return workbook;
}

// The counting itself on an 8,000-row block: South, every day, three digits.
void BM_CountLoSouthEveryDay(benchmark::State& state) {
  Workbook& w = Shared();
  const RegionBlocks south = RegionProfile(TelexToUnicode("Mieefn Nam"));
  int64_t cells = 0;
  for (auto _ : state) {
    const LoCountResult result = testing::CountLoInWholeBlock(w.block, w.marks, 8, south, 3, 0, 1e6);
    cells = 0;
    for (int x = 0; x < 1000; ++x) cells += result.counts.appearances(x).value_or(0);
    benchmark::DoNotOptimize(result.dayCount);
  }
  state.counters["cells_per_second"] =
      benchmark::Counter(static_cast<double>(cells), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CountLoSouthEveryDay)->Unit(benchmark::kMillisecond);

// The memory-bound floor: read the same cells' texts and sum their lengths.
void BM_BareReadOfTheSameCells(benchmark::State& state) {
  Workbook& w = Shared();
  for (auto _ : state) {
    size_t length = 0;
    for (int32_t r = 1; r <= w.block.rows(); ++r) {
      const auto& row = w.marks[static_cast<size_t>(WeekdayOf(w.block(r, 1).date()))];
      for (int b = 4; b <= 7 && row[static_cast<size_t>(b)]; ++b)
        for (int k = 1; k <= 18; ++k) length += w.block(r, row[static_cast<size_t>(b)] + k).text().size();
    }
    benchmark::DoNotOptimize(length);
  }
}
BENCHMARK(BM_BareReadOfTheSameCells)->Unit(benchmark::kMillisecond);

// CountLo as the statistics run calls it, block read from the workbook included.
void BM_CountLoWithBlockRead(benchmark::State& state) {
  Workbook& w = Shared();
  w.book->SheetByCodeName("Sheet3")->Set(5, 2, Value::Text("all"));
  for (auto _ : state) {
    LoCounts counts;
    int32_t days = 0;
    CountLo(w.session, counts, 0, 1e6, TelexToUnicode("Mieefn Nam"), days, "3 Con");
    benchmark::DoNotOptimize(days);
  }
}
BENCHMARK(BM_CountLoWithBlockRead)->Unit(benchmark::kMillisecond);

struct NoMessages : MessageSink {
  int32_t Show(const std::string&, int32_t, const std::string&) override { return 1; }
};

// Whole statistics runs of a request on every day, the list laid out first;
// reports the cells read from the workbook by one run.
void RunRequest(benchmark::State& state, DateSerial start, DateSerial end, const char* regionTelex,
                const std::string& numberSet, const char* numberType) {
  Workbook& w = Shared();
  auto control = w.book->SheetByCodeName("Sheet3");
  control->Set(1, 2, Value::Date(start));
  control->Set(2, 2, Value::Date(end));
  control->Set(3, 2, Value::Text(TelexToUnicode(regionTelex)));
  control->Set(4, 2, Value::Text(numberSet));
  control->Set(5, 2, Value::Text("all"));
  control->Set(6, 2, Value::Text(numberType));
  ApplyNumberType(w.session, numberType);
  NoMessages messages;
  for (auto _ : state) {
    w.book->ResetCalls();
    RunStatistics(w.session, messages, [] { return LocalDateTime{{2026, 12, 6}, 12, 0, 0}; });
  }
  state.counters["cells_read"] = static_cast<double>(w.book->cellsRead());
}

// The whole period: South, "Full" as "3 Con" (1,000 numbers).
void BM_RunStatisticsFull3Con(benchmark::State& state) { RunRequest(state, 0, 1e6, "Mieefn Nam", "Full", "3 Con"); }
BENCHMARK(BM_RunStatisticsFull3Con)->Unit(benchmark::kMillisecond);

// A month of the North as "Số Kép" "2 Con": what a user asks most days.
void BM_RunStatistics30DaysNorth(benchmark::State& state) {
  const DateSerial last = SerialFromCivil(CivilFromDays(DaysFromCivil({2005, 1, 1}) + kDays - 1));
  RunRequest(state, last - 29, last, "Mieefn Bawsc", TelexToUnicode("Soos Kesp"), "2 Con");
}
BENCHMARK(BM_RunStatistics30DaysNorth)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pradima
