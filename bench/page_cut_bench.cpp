#include <benchmark/benchmark.h>

#include "padded_page.h"
#include "results/page_cut.h"
#include "support/fixture_pages.h"

namespace pradima {
namespace {

// A realistic 100 KB South page: four stations inside the site's other markup.
void BM_CutAndCleanRegionPage(benchmark::State& state) {
  const std::string page = PaddedPage(testing::StationPage({2021, 3, 6}, '1', 4), 100 * 1024);
  size_t prizes = 0;
  for (auto _ : state) {
    const auto pieces = CutPage(page, kStationStartMarker);
    for (const std::string_view piece : *pieces) prizes += IsPrizeText(CleanCell(piece));
    benchmark::DoNotOptimize(prizes);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
  state.counters["page_bytes"] = static_cast<double>(page.size());
}
BENCHMARK(BM_CutAndCleanRegionPage);

}  // namespace
}  // namespace pradima
