#include <benchmark/benchmark.h>

#include <filesystem>

#include "cli/xlsx_workbook.h"
#include "results_block.h"

namespace pradima {
namespace {

// A workbook file with 10,000 results rows, every region filled.
const std::string& TenThousandRows() {
  static const std::string path = [] {
    const std::string file = (std::filesystem::temp_directory_path() / "pradima-bench-10000.xlsx").string();
    std::filesystem::remove(file);
    cli::CreateStandardWorkbook(file, {2026, 12, 6});
    cli::XlsxWorkbook workbook = cli::XlsxWorkbook::Open(file);
    bench::FillResults(*workbook.book()->SheetByCodeName("Sheet1"), 10000);
    workbook.Save();
    return file;
  }();
  return path;
}

void BM_OpenWorkbookOf10000Rows(benchmark::State& state) {
  const std::string& path = TenThousandRows();
  for (auto _ : state) {
    cli::XlsxWorkbook workbook = cli::XlsxWorkbook::Open(path);
    benchmark::DoNotOptimize(workbook.book()->sheets().size());
  }
  state.counters["file_mb"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(BM_OpenWorkbookOf10000Rows)->Unit(benchmark::kMillisecond);

void BM_SaveWorkbookOf10000Rows(benchmark::State& state) {
  const std::string& path = TenThousandRows();
  cli::XlsxWorkbook workbook = cli::XlsxWorkbook::Open(path);
  for (auto _ : state) {
    workbook.book()->SheetByCodeName("Sheet1")->modified = true;
    workbook.Save();
  }
}
BENCHMARK(BM_SaveWorkbookOf10000Rows)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pradima
