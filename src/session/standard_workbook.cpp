#include "session/standard_workbook.h"

#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "terms/station_schedule.h"
#include "text/telex.h"

namespace pradima {
namespace {

using namespace terms;

Value Text(const char* telex) { return Value::Text(TelexToUnicode(telex)); }

void Put(MemorySheet& sheet, int32_t row, int32_t column, Value value) { sheet.Set(row, column, std::move(value)); }

}  // namespace

void AddStationSchedule(MemoryWorkbook& book, const std::shared_ptr<MemorySheet>& settings) {
  MemorySheet& s = *settings;
  // BangDai A2:H8: weekday label, then the station of blocks 1 to 7.
  Put(s, 1, 1, Text("Lijch quay"));
  for (int w = 1; w <= 7; ++w) {
    Put(s, w + 1, 1, Value::Text(kWeekdayLabels[static_cast<size_t>(w - 1)]));
    for (int b = 1; b <= 7; ++b) {
      if (const char* name = StationTelexName(w, b)) Put(s, w + 1, b + 1, Text(name));
    }
  }
  book.DefineName(kStationTable, settings, *ParseAddress("A2:H8"));

  // CaiDatMien A11:H17: 1 where block j draws on weekday i (block 8 is the North).
  Put(s, 10, 1, Text("Mieefn theo thuws"));
  for (int w = 1; w <= 7; ++w) {
    for (int b = 1; b <= 7; ++b) {
      if (StationTelexName(w, b)) Put(s, 10 + w, b, Value::Number(1));
    }
    Put(s, 10 + w, 8, Value::Number(1));
  }
  book.DefineName(kRegionTable, settings, *ParseAddress("A11:H17"));

  // Bang1 to Bang4 from row 21: a page of k stations lists them one after
  // another, 18 prizes each, so prize i of station p is piece 18(p - 1) + i.
  Put(s, 20, 1, Text("Vij tris giari"));
  int32_t firstColumn = 1;
  for (int stations = 1; stations <= 4; ++stations) {
    for (int p = 1; p <= stations; ++p) {
      for (int i = 1; i <= kPrizesPerStation; ++i) {
        Put(s, 20 + i, firstColumn + p - 1, Value::Number(kPrizesPerStation * (p - 1) + i));
      }
    }
    const RangeRef table{{21, firstColumn}, {20 + kPrizesPerStation, firstColumn + stations - 1}};
    book.DefineName(kPositionTables[stations - 1], settings, table);
    firstColumn += stations;
  }
  Put(s, 1, 16, Text("Soos tufy chojn 2 con"));
  Put(s, 1, 30, Text("Soos tufy chojn 3 con"));
}

std::shared_ptr<MemoryWorkbook> NewStandardWorkbook(const CivilDate& today) {
  auto book = MemoryWorkbook::Create();
  auto results = book->AddSheet(kResultsCodeName, kResultsTabName);
  auto settings = book->AddSheet(kSettingsCodeName, kSettingsTabName);
  auto control = book->AddSheet(kControlCodeName, kControlTabName);
  auto tables = book->AddSheet(kTablesCodeName, TelexToUnicode(kTablesTabTelex));

  Put(*results, 1, 1, Text("Keest quar xoor soos ba mieefn"));
  Put(*results, 3, kNorth.firstColumn, Text(kNorth.telexName));
  Put(*results, 3, kCentral.firstColumn, Text(kCentral.telexName));
  Put(*results, 3, kSouth.firstColumn, Text(kSouth.telexName));
  Put(*results, 4, 1, Text("Ngafy"));
  Put(*results, 4, 2, Text("Thuws"));

  AddStationSchedule(*book, settings);

  const char* labels[6] = {"Tuwf ngafy", "DDeesn ngafy", "Mieefn", "Booj soos", "Thuws", "Kieeru soos"};
  for (int r = 1; r <= 6; ++r) Put(*control, r, 1, Text(labels[r - 1]));
  Put(*control, 1, 2, Value::Date(SerialFromCivil(CivilDate{today.year, 1, 1})));
  Put(*control, 2, 2, Value::Date(SerialFromCivil(today)));
  Put(*control, 3, 2, Text(kNorth.telexName));
  Put(*control, 4, 2, Value::Text(kFullSet));
  Put(*control, 5, 2, Text(kEveryDayTelex));
  Put(*control, 6, 2, Value::Text(kTwoDigits));
  Put(*control, 2, 6, Text("Soos"));
  Put(*control, 2, 7, Text("Soos ngafy"));
  Put(*control, 2, 8, Text("Soos laafn"));
  for (const TableSlot& slot : kTableSlots) Put(*tables, 1, slot.column, Text(slot.headingTelex));
  for (const auto& sheet : book->sheets()) sheet->ForgetChanges();
  return book;
}

}  // namespace pradima
