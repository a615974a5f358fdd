#pragma once
// Where the engine reads and writes in the workbook: the worksheets by code
// name, their fixed cells, and the named tables of the settings sheet.
#include <cstdint>

namespace pradima::terms {

inline constexpr const char* kResultsCodeName = "Sheet1";
inline constexpr const char* kSettingsCodeName = "Sheet2";
inline constexpr const char* kControlCodeName = "Sheet3";
// The tab names a new workbook gives them (Kết Quả, Cài Đặt, Thống Kê).
inline constexpr const char* kResultsTabName = "KetQua";
inline constexpr const char* kSettingsTabName = "CaiDat";
inline constexpr const char* kControlTabName = "ThongKe";

// Results sheet: four heading rows (A4 is never empty), then one row per day.
inline constexpr int32_t kFirstResultRow = 5;
// End(up) from this cell finds the last day.
inline constexpr const char* kResultsFarCell = "A1000000";

// Settings sheet.
inline constexpr const char* kStationTable = "BangDai";    // station names by weekday
inline constexpr const char* kRegionTable = "CaiDatMien";  // which blocks draw on which weekday
inline constexpr const char* kPositionTables[4] = {"Bang1", "Bang2", "Bang3", "Bang4"};  // by stations on a page
inline constexpr const char* kSavedTwoDigitList = "P2";
inline constexpr const char* kSavedThreeDigitList = "AD2";
inline constexpr int32_t kSavedListRows = 10000;

// Control sheet: the request, the list of numbers and its counts.
inline constexpr const char* kStartDateCell = "B1";
inline constexpr const char* kEndDateCell = "B2";
inline constexpr const char* kRegionCell = "B3";
inline constexpr const char* kNumberSetCell = "B4";
inline constexpr const char* kWeekdayCell = "B5";
inline constexpr const char* kNumberTypeCell = "B6";
inline constexpr const char* kDayCountCell = "F1";
inline constexpr const char* kListFirstCell = "F3";  // listed numbers from F3 down, counts in G and H
inline constexpr const char* kCountsFirstCell = "G3";
inline constexpr int32_t kListTableRows = 1000;  // F3:J1002, cleared before a new table
inline constexpr int32_t kListTableColumns = 5;
inline constexpr int32_t kCountRows = 10000;           // G3:H10002
inline constexpr const char* kListFarCell = "F10000";  // End(up) from here finds the list's last row
inline constexpr const char* kCustomListFarCell = "F100000";
// Columns F to H hold the list and its counts, whatever the row.
inline constexpr int32_t kListFirstColumn = 6;
inline constexpr int32_t kListLastColumn = 8;
inline constexpr int32_t kRequestLastRow = 6;  // B1:B6
inline constexpr int32_t kRequestColumn = 2;

// Tables sheet: the followers' tables (lô gan, đề, lô xiên, lô rơi, bạc
// nhớ). A new workbook names each in row 1 and the workbook's macros put
// the table itself from row 2 of that column down.
inline constexpr const char* kTablesCodeName = "Sheet4";
inline constexpr const char* kTablesTabTelex = "Bangr thoosng kee";  // Bảng thống kê
inline constexpr int32_t kTablesFirstRow = 2;
struct TableSlot {
  int32_t column;
  const char* headingTelex;
};
// Six columns apart, the widest table (đề) last.
inline constexpr TableSlot kGanSlot{1, "Loo gan"};
inline constexpr TableSlot kRoiSlot{7, "Loo rowi"};
inline constexpr TableSlot kXienSlot{13, "Loo xieen"};
inline constexpr TableSlot kBacNhoSlot{19, "Bajc nhows"};
inline constexpr TableSlot kDeSlot{25, "Thoosng kee ddeef"};
inline constexpr TableSlot kTableSlots[] = {kGanSlot, kRoiSlot, kXienSlot, kBacNhoSlot, kDeSlot};

}  // namespace pradima::terms
