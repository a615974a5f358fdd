// Arbitrary page text through the page cut, the cell cleaner and the station
// writer. Besides running clean under the sanitizers, each step must keep
// what its callers rely on; a broken property stops the run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "results/page_cut.h"
#include "results/update_results.h"
#include "terms/lottery.h"

namespace {

constexpr std::string_view kSeparator = "</div>";

void Require(bool holds) {
  if (!holds) __builtin_trap();
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Position table "BangN" for N stations: prize i of station p is piece 18 (p - 1) + i.
pradima::Block PositionTable(const char* name) {
  const int stations = name[4] - '0';
  pradima::Block table(18, stations);
  for (int32_t i = 1; i <= 18; ++i)
    for (int32_t p = 1; p <= stations; ++p) table(i, p) = pradima::Value::Number(18 * (p - 1) + i);
  return table;
}

// The pieces, joined again at their separators, are exactly the page from the
// start marker up to the end marker that follows it, and they view the page.
void CheckPieces(std::string_view page, std::string_view marker, const std::vector<std::string_view>& pieces) {
  Require(!pieces.empty());
  std::string joined;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const std::string_view piece = pieces[i];
    Require(piece.data() >= page.data() && piece.data() + piece.size() <= page.data() + page.size());
    Require(piece.find(kSeparator) == std::string_view::npos);
    if (i > 0) joined += kSeparator;
    joined += piece;
  }
  const size_t start = page.find(marker);
  Require(start != std::string_view::npos);
  Require(page.substr(start, joined.size()) == joined);
  Require(page.find(pradima::kEndMarker, start) == start + joined.size());
}

// A cleaned cell is the piece's text after its last tag, with "+" read as a
// blank and the blanks at either end gone.
void CheckCleanCell(std::string_view piece, const std::string& clean) {
  Require(clean.find_first_of("+>") == std::string::npos);
  Require(clean.empty() || (clean.front() != ' ' && clean.back() != ' '));
  std::string tail(piece.substr(piece.rfind('>') == std::string_view::npos ? 0 : piece.rfind('>') + 1));
  std::replace(tail.begin(), tail.end(), '+', ' ');
  Require(tail.find(clean) != std::string::npos);
}

// The writer touches only its own row, right of the region's base column, and
// puts there only digit texts that some piece of the page cleans to.
void CheckWrittenRow(const pradima::Block& day, int32_t base, const std::vector<std::string>& cleaned) {
  for (int32_t c = 1; c <= pradima::terms::kResultColumns; ++c) {
    Require(day(1, c).IsEmpty());
    const pradima::Value& cell = day(2, c);
    if (cell.IsEmpty()) continue;
    Require(c > base);
    Require(AllDigits(cell.text()));
    Require(std::find(cleaned.begin(), cleaned.end(), cell.text()) != cleaned.end());
  }
}

void CheckStationWriter(const std::vector<std::string_view>& pieces, const std::vector<std::string>& cleaned) {
  for (const int32_t base : {pradima::kCentralBaseColumn, pradima::kSouthBaseColumn}) {
    pradima::Block day(2, pradima::terms::kResultColumns);
    try {
      pradima::WriteStationBlocks(day, 2, pieces, base, PositionTable);
      CheckWrittenRow(day, base, cleaned);
    } catch (const pradima::Error& e) {
      // More than 256 pieces overflow; otherwise only a piece or column out of range is refused.
      const auto expected = pieces.size() > 256 ? pradima::VbError::Overflow : pradima::VbError::SubscriptOutOfRange;
      Require(e.number() == static_cast<int>(expected));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  for (const std::string_view marker : {pradima::kNorthStartMarker, pradima::kStationStartMarker}) {
    std::optional<std::vector<std::string_view>> pieces;
    try {
      pieces = pradima::CutPage(page, marker);
    } catch (const pradima::Error& e) {
      // Refused only when the start marker has no end marker after it.
      Require(e.number() == static_cast<int>(pradima::VbError::InvalidArgument));
      const size_t start = page.find(marker);
      Require(start != std::string_view::npos && page.find(pradima::kEndMarker, start) == std::string_view::npos);
      continue;
    }
    if (!pieces) {
      Require(page.find(marker) == std::string_view::npos);
      continue;
    }
    CheckPieces(page, marker, *pieces);
    std::vector<std::string> cleaned;
    for (const std::string_view piece : *pieces) {
      cleaned.push_back(pradima::CleanCell(piece));
      CheckCleanCell(piece, cleaned.back());
    }
    CheckStationWriter(*pieces, cleaned);
  }
  return 0;
}
