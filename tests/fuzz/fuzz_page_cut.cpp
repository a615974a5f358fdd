// Arbitrary page text through the page cut and the station writer: no
// crash, no out-of-bounds access; a bad page either writes its cells or
// raises the engine's error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "results/page_cut.h"
#include "results/update_results.h"
#include "base/error.h"

namespace {

pradima::Block PositionTable(const char* name) {
  const int stations = name[4] - '0';
  pradima::Block table(18, stations);
  for (int32_t i = 1; i <= 18; ++i)
    for (int32_t p = 1; p <= stations; ++p) table(i, p) = pradima::Value::Number(18 * (p - 1) + i);
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  for (const std::string_view marker : {pradima::kNorthStartMarker, pradima::kStationStartMarker}) {
    try {
      const auto pieces = pradima::CutPage(page, marker);
      if (!pieces) continue;
      for (const std::string_view piece : *pieces) {
        const std::string clean = pradima::CleanCell(piece);
        if (pradima::IsPrizeText(clean) && clean.find_first_not_of("0123456789") != std::string::npos) __builtin_trap();
      }
      pradima::Block day(1, 162);
      for (const int32_t base : {pradima::kCentralBaseColumn, pradima::kSouthBaseColumn}) {
        pradima::WriteStationBlocks(day, 1, *pieces, base, PositionTable);
      }
      for (int32_t c = 1; c <= 162; ++c) {
        const pradima::Value& cell = day(1, c);
        if (!cell.IsEmpty() && !pradima::IsPrizeText(cell.text())) __builtin_trap();
      }
    } catch (const pradima::Error& e) {
      const int number = e.number();
      if (number != 5 && number != 6 && number != 9) __builtin_trap();
    }
  }
  return 0;
}
