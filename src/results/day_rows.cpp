#include "results/day_rows.h"

#include <cmath>
#include <string>

#include "base/error.h"
#include "results/page_cut.h"
#include "session/conversions.h"
#include "terms/sheet_layout.h"

namespace pradima {
namespace {

using namespace terms;

Block ReadNamedTable(Worksheet& settings, const char* name, int32_t minRows, int32_t minColumns) {
  Block table = settings.GetRange(name)->GetValue();
  if (table.rows() < 2 && table.columns() < 2) {
    throw Error(VbError::TypeMismatch, std::string("the name ") + name + " is a single cell, not a table");
  }
  if (table.rows() < minRows || table.columns() < minColumns) {
    throw Error(VbError::SubscriptOutOfRange, std::string("the table ") + name + " has " +
                                                  std::to_string(table.rows()) + " rows by " +
                                                  std::to_string(table.columns()) + " columns; it needs at least " +
                                                  std::to_string(minRows) + " by " + std::to_string(minColumns));
  }
  return table;
}

// Round half to even, as the platform's integer division of n by 18 does.
int32_t StationCount(size_t highestPiece) {
  return static_cast<int32_t>(std::nearbyint(static_cast<double>(highestPiece) / kPrizesPerStation));
}

void FillNorth(Block& dayTable, int32_t row, const std::vector<std::string_view>& pieces) {
  if (pieces.size() < static_cast<size_t>(kNorthPrizes)) {
    throw Error(VbError::SubscriptOutOfRange,
                "the North page has " + std::to_string(pieces.size()) + " pieces, fewer than its 27 prizes");
  }
  const int32_t firstPrize = kNorth.firstColumn + 1;
  for (int32_t c = firstPrize; c <= kNorth.lastColumn; ++c) {
    std::string prize = CleanCell(pieces[static_cast<size_t>(c - firstPrize)]);
    if (IsPrizeText(prize)) dayTable(row, c) = Value::Text(std::move(prize));
  }
}

}  // namespace

void WriteStationBlocks(Block& dayTable, int32_t row, const std::vector<std::string_view>& pieces, int32_t baseColumn,
                        const PositionTableReader& readPositionTable) {
  const size_t n = pieces.size() - 1;
  if (n > 255) {
    throw Error(VbError::Overflow, "the page has " + std::to_string(pieces.size()) + " pieces, more than 256");
  }
  const char* tableName = kPositionTables[n > 54 ? 3 : n > 36 ? 2 : n > 18 ? 1 : 0];
  const Block table = readPositionTable(tableName);
  const int32_t stations = StationCount(n);
  for (int32_t p = stations; p >= 1; --p) {
    for (int32_t i = 1; i <= kPrizesPerStation; ++i) {
      if (i > table.rows() || p > table.columns()) {
        throw Error(VbError::SubscriptOutOfRange,
                    std::string(tableName) + " has no row " + std::to_string(i) + ", column " + std::to_string(p));
      }
      const Value& entry = table(i, p);
      const int32_t piece = entry.IsEmpty() ? 0 : ToLong(entry);
      if (piece < 1 || static_cast<size_t>(piece) > pieces.size()) {
        throw Error(VbError::SubscriptOutOfRange,
                    std::string(tableName) + " row " + std::to_string(i) + ", column " + std::to_string(p) +
                        " points to piece " + (entry.IsEmpty() ? std::string("(empty)") : std::to_string(piece)) +
                        " of " + std::to_string(pieces.size()));
      }
      std::string prize = CleanCell(pieces[static_cast<size_t>(piece - 1)]);
      if (!IsPrizeText(prize)) continue;
      const int32_t column = 19 * p + baseColumn + 1 - i;
      if (column > kResultColumns) {
        throw Error(VbError::SubscriptOutOfRange, "station " + std::to_string(p) + " of the page lies beyond column " +
                                                      std::to_string(kResultColumns));
      }
      dayTable(row, column) = Value::Text(std::move(prize));
    }
  }
}

DayRowBuilder::DayRowBuilder(Worksheet& settings)
    : settings_(settings), stationNames_(ReadNamedTable(settings, kStationTable, 7, 8)) {}

void DayRowBuilder::Begin(Block& rows, int32_t row, const CivilDate& day) const {
  const DateSerial serial = SerialFromCivil(day);
  const int weekday = WeekdayOf(serial);
  for (int b = 1; b <= 7; ++b) rows(row, kBlockHeadColumns[static_cast<size_t>(b)]) = stationNames_(weekday, b + 1);
  rows(row, 1) = Value::Date(serial);
  rows(row, 2) = Value::Text(kWeekdayLabels[static_cast<size_t>(weekday - 1)]);
}

void DayRowBuilder::AddPage(Block& rows, int32_t row, const Region& region, const std::string& page) const {
  if (region.pageQuery == kNorth.pageQuery) {
    if (const auto pieces = CutPage(page, kNorthStartMarker)) FillNorth(rows, row, *pieces);
  } else if (const auto pieces = CutPage(page, kStationStartMarker)) {
    WriteStationBlocks(rows, row, *pieces, region.firstColumn - 1,
                       [this](const char* name) { return ReadNamedTable(settings_, name, 1, 1); });
  }
}

}  // namespace pradima
