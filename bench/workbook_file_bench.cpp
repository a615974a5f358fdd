#include <benchmark/benchmark.h>

#include <zip.h>
#include <zlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "xlsx/worksheet_read.h"
#include "cli/commands.h"
#include "xlsx/xlsx_workbook.h"
#include "results_block.h"

namespace pradima {
namespace {

// A workbook file with 10,000 results rows, every region filled.
const std::string& TenThousandRows() {
  static const std::string path = [] {
    const std::string file = (std::filesystem::temp_directory_path() / "pradima-bench-10000.xlsx").string();
    std::filesystem::remove(file);
    cli::CreateStandardWorkbook(file, {2026, 12, 6});
    xlsx::XlsxWorkbook workbook = xlsx::XlsxWorkbook::Open(file);
    bench::FillResults(*workbook.book()->SheetByCodeName("Sheet1"), 10000);
    workbook.Save();
    return file;
  }();
  return path;
}

void BM_OpenWorkbookOf10000Rows(benchmark::State& state) {
  const std::string& path = TenThousandRows();
  for (auto _ : state) {
    xlsx::XlsxWorkbook workbook = xlsx::XlsxWorkbook::Open(path);
    benchmark::DoNotOptimize(workbook.book()->sheets().size());
  }
  state.counters["file_mb"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(BM_OpenWorkbookOf10000Rows)->Unit(benchmark::kMillisecond);

// The save of an update that added a day: one row more on the results sheet.
void BM_SaveWorkbookOf10000Rows(benchmark::State& state) {
  const std::string& path = TenThousandRows();
  const std::string copy = path + ".saved.xlsx";
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
    std::optional<xlsx::XlsxWorkbook> workbook(xlsx::XlsxWorkbook::Open(copy));
    const auto results = workbook->book()->SheetByCodeName("Sheet1");
    const int32_t next = results->LastRowAtOrAbove(kMaxRows, 1) + 1;
    results->Set(next, 1, Value::Date(results->Get(next - 1, 1).date() + 1));
    results->Set(next, 3, Value::Text("12345"));
    state.ResumeTiming();
    workbook->Save();
    state.PauseTiming();
    workbook.reset();
    state.ResumeTiming();
  }
  std::filesystem::remove(copy);
}
BENCHMARK(BM_SaveWorkbookOf10000Rows)->Unit(benchmark::kMillisecond);

// The parts of the workbook file as stored (raw deflate streams) and as read.
struct Parts {
  std::vector<std::string> stored;
  std::vector<std::string> plain;
};

const Parts& PartsOfTenThousandRows() {
  static const Parts parts = [] {
    Parts read;
    int error = 0;
    zip_t* archive = zip_open(TenThousandRows().c_str(), ZIP_RDONLY, &error);
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
      zip_stat_t stat;
      zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
      if (stat.comp_method != ZIP_CM_DEFLATE) continue;
      for (const zip_flags_t flags : {zip_flags_t{ZIP_FL_COMPRESSED}, zip_flags_t{0}}) {
        std::string bytes(flags ? stat.comp_size : stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), flags);
        zip_fread(file, bytes.data(), bytes.size());
        zip_fclose(file);
        (flags ? read.stored : read.plain).push_back(std::move(bytes));
      }
    }
    zip_close(archive);
    return read;
  }();
  return parts;
}

// The floor of opening: zlib alone inflating the same part bytes.
void BM_InflatePartsOf10000Rows(benchmark::State& state) {
  const Parts& parts = PartsOfTenThousandRows();
  std::string out;
  for (auto _ : state) {
    for (size_t p = 0; p < parts.stored.size(); ++p) {
      out.resize(parts.plain[p].size());
      z_stream stream{};
      inflateInit2(&stream, -MAX_WBITS);
      stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(parts.stored[p].data()));
      stream.avail_in = static_cast<uInt>(parts.stored[p].size());
      stream.next_out = reinterpret_cast<Bytef*>(out.data());
      stream.avail_out = static_cast<uInt>(out.size());
      inflate(&stream, Z_FINISH);
      inflateEnd(&stream);
      benchmark::DoNotOptimize(out.data());
    }
  }
}
BENCHMARK(BM_InflatePartsOf10000Rows)->Unit(benchmark::kMillisecond);

// The floor of saving: zlib alone deflating the same bytes at the level the tool saves with (1).
void BM_DeflatePartsOf10000Rows(benchmark::State& state) {
  const Parts& parts = PartsOfTenThousandRows();
  std::string out;
  for (auto _ : state) {
    for (const std::string& plain : parts.plain) {
      out.resize(compressBound(static_cast<uLong>(plain.size())));
      z_stream stream{};
      deflateInit2(&stream, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
      stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
      stream.avail_in = static_cast<uInt>(plain.size());
      stream.next_out = reinterpret_cast<Bytef*>(out.data());
      stream.avail_out = static_cast<uInt>(out.size());
      deflate(&stream, Z_FINISH);
      deflateEnd(&stream);
      benchmark::DoNotOptimize(out.data());
    }
  }
}
BENCHMARK(BM_DeflatePartsOf10000Rows)->Unit(benchmark::kMillisecond);

// The results sheet's part read into cells in one pass, without the file around it.
void BM_ScanResultsSheetOf10000Rows(benchmark::State& state) {
  const Parts& parts = PartsOfTenThousandRows();
  const std::string* sheet = &parts.plain.front();
  for (const std::string& plain : parts.plain)
    if (plain.size() > sheet->size()) sheet = &plain;
  const std::vector<std::string> sharedStrings;
  const xlsx::CellFormats formats;
  const xlsx::CellReader reader(sharedStrings, formats);
  for (auto _ : state) {
    std::optional<xlsx::ScannedWorksheet> scanned = xlsx::ScanWorksheet(*sheet, reader);
    if (!scanned) state.SkipWithError("the scan left the sheet to the full parser");
    benchmark::DoNotOptimize(scanned);
  }
  state.counters["xml_mb"] = static_cast<double>(sheet->size()) / 1e6;
}
BENCHMARK(BM_ScanResultsSheetOf10000Rows)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pradima
