#include "stats/table_target.h"

#include <string_view>

#include "base/concat.h"
#include "base/error.h"
#include "session/address.h"
#include "stats/screen_updating.h"
#include "terms/sheet_layout.h"

namespace pradima {
namespace {

bool Overlaps(const RangeRef& a, const RangeRef& b) {
  return a.first.row <= b.last.row && b.first.row <= a.last.row && a.first.column <= b.last.column &&
         b.first.column <= a.last.column;
}

// What of the engine's own cells the range on the sheet would touch; empty when none.
std::string ReservedCellsUnder(std::string_view codeName, const RangeRef& range) {
  if (codeName == terms::kResultsCodeName) return Concat("the results sheet (", codeName, ")");
  if (codeName == terms::kSettingsCodeName) return Concat("the settings sheet (", codeName, ")");
  if (codeName != terms::kControlCodeName) return {};
  const RangeRef request{{1, terms::kRequestColumn}, {terms::kRequestLastRow, terms::kRequestColumn}};
  if (Overlaps(range, request)) return Concat("the request cells ", FormatAddress(request), " of the control sheet");
  const RangeRef list{{1, terms::kListFirstColumn}, {kMaxRows, terms::kListLastColumn}};
  if (Overlaps(range, list)) return "the list columns F:H of the control sheet";
  return {};
}

std::shared_ptr<Worksheet> SheetByCodeName(const Session& session, const std::string& codeName) {
  for (const auto& sheet : session.workbook().WorkSheets())
    if (sheet->CodeName() == codeName) return sheet;
  throw Error(VbError::SubscriptOutOfRange, Concat("no worksheet of the workbook has the code name ", codeName));
}

void Put(const Session& session, const TableTarget& target, TableArea area, const std::function<Block()>& make) {
  RequireFreeArea(target, area);
  const std::shared_ptr<Worksheet> sheet = SheetByCodeName(session, target.sheetCodeName);
  const Block table = make();
  const std::string corner = CellAddress(target.row, target.column);
  sheet->GetRange(corner)->Resize(area.rows, area.columns)->ClearContents();
  if (!table.empty()) sheet->GetRange(corner)->Resize(table.rows(), table.columns())->SetValue(table);
}

}  // namespace

void RequireFreeArea(const TableTarget& target, TableArea area) {
  if (target.row < 1 || target.column < 1 || target.row > kMaxRows || target.column > kMaxColumns) {
    throw Error(VbError::InvalidArgument, Concat("the table's top-left cell, row ", std::to_string(target.row),
                                                 " column ", std::to_string(target.column), ", is off the sheet"));
  }
  const std::string where = Concat("the table at ", target.sheetCodeName, "!", CellAddress(target.row, target.column));
  if (target.row > kMaxRows - area.rows + 1 || target.column > kMaxColumns - area.columns + 1) {
    throw Error(VbError::InvalidArgument, Concat(where, " needs ", std::to_string(area.rows), " rows and ",
                                                 std::to_string(area.columns), " columns, more than the sheet has"));
  }
  const RangeRef range{{target.row, target.column}, {target.row + area.rows - 1, target.column + area.columns - 1}};
  const std::string reserved = ReservedCellsUnder(target.sheetCodeName, range);
  if (!reserved.empty())
    throw Error(VbError::InvalidArgument, Concat(where, " would cover ", FormatAddress(range), ", which touches ",
                                                 reserved, "; choose another place"));
}

void PutTable(const Session& session, const TableTarget& target, TableArea area, const std::function<Block()>& make) {
  WithScreenUpdatingOff(session.application(), [&] { Put(session, target, area, make); });
}

}  // namespace pradima
