#pragma once
// The lottery's terms as the workbook holds them: regions and the blocks of
// the results sheet that carry their stations, weekdays, number sets and
// number types. Vietnamese words are kept in their stored Telex form (how the
// workbook's users type them) and converted where they are used.
#include <array>
#include <cstdint>

#include "base/date.h"

namespace pradima::terms {

// One row of the results sheet: the date (A), the weekday label (B), the 27
// North prizes (C:AC), then seven station blocks of a name and 18 prizes,
// blocks 1 to 3 for the Central region and 4 to 7 for the South.
inline constexpr int32_t kResultColumns = 162;  // A:FF
inline constexpr int32_t kNorthPrizes = 27;
inline constexpr int32_t kPrizesPerStation = 18;
inline constexpr int kBlocks = 8;  // block 8 is the North
// The head column of each block, 1-based: the station name, its prizes after it.
inline constexpr std::array<int32_t, kBlocks + 1> kBlockHeadColumns = {0, 30, 49, 68, 87, 106, 125, 144, 2};

struct Region {
  const char* telexName;
  char pageQuery;  // the region's value of "mien" on the results site
  int firstBlock;
  int lastBlock;
  int numbersPerBlock;  // prizes per station
  // The first prizes of a block, special prize first, that are drawn with
  // three digits or more; the rest (the North's 7th prize, a station's 8th
  // prize) are drawn with two.
  int threeDigitPrizes;
  int32_t firstColumn;  // the region's columns of the results sheet, head of its first block on
  int32_t lastColumn;
};
inline constexpr Region kNorth{"Mieefn Bawsc", '2', 8, 8, kNorthPrizes, 23, 2, 29};          // Miền Bắc, B:AC
inline constexpr Region kCentral{"Mieefn Trung", '3', 1, 3, kPrizesPerStation, 17, 30, 86};  // Miền Trung, AD:CH
inline constexpr Region kSouth{"Mieefn Nam", '1', 4, 7, kPrizesPerStation, 17, 87, 162};     // Miền Nam, CI:FF

// Which prizes a count reads: every prize, as the workbook counts (a
// two-digit prize then counts as 0xy among three-digit numbers), or only
// the prizes drawn with three digits or more, as three-digit lô is
// usually counted (23 a North day, 17 a station).
enum class Prizes { All, ThreeDigitsOrMore };
inline constexpr std::array<Region, 3> kRegions = {kNorth, kCentral, kSouth};

// The results sheet starts on this day; a day's draws are complete from 18:41.
inline constexpr CivilDate kFirstResultsDay{2005, 1, 1};
inline constexpr int kLastDrawHour = 18;
inline constexpr int kLastDrawMinute = 40;

// Weekdays are numbered Sunday = 1 to Saturday = 7 everywhere.
inline constexpr std::array<const char*, 7> kWeekdayTelexNames = {
    "Chur Nhaajt", "Thuws Hai",  "Thuws Ba",  "Thuws Tuw",
    "Thuws Nawm",  "Thuws Sasu", "Thuws Bary"};  // Chủ Nhật .. Thứ Bảy
// The weekday code of a request that names no weekday: every day counts.
inline constexpr int kEveryDay = 8;
// The control sheet's word for every day (Tất cả); any text that is no weekday means the same.
inline constexpr const char* kEveryDayTelex = "Taast car";
// Column B of the results sheet.
inline constexpr std::array<const char*, 7> kWeekdayLabels = {"CN", "T2", "T3", "T4", "T5", "T6", "T7"};

// Number sets, as the control sheet's B4 names them.
inline constexpr const char* kDoublesTelex = "Soos Kesp";  // Số Kép: 00, 11 .. 99
inline constexpr const char* kFullSet = "Full";            // every number
inline constexpr const char* kCustomTelex = "Tufy Chojn";  // Tùy Chọn: the user's own list

// A two-digit number's first digit (đầu) and last digit (đuôi), as reports name them.
inline constexpr const char* kHeadTelex = "ddaafu";
inline constexpr const char* kTailTelex = "dduooi";
// The special prize's last two digits (đề), and đầu plus đuôi mod 10 (tổng).
inline constexpr const char* kDeTelex = "ddeef";
inline constexpr const char* kSumTelex = "toorng";

// The headings of the đề tables: the week's Monday (Tuần), the day of the
// month (Ngày), and the months T1 to T12.
inline constexpr const char* kWeekTelex = "Tuaafn";
inline constexpr const char* kDayTelex = "Ngafy";
inline constexpr std::array<const char*, 12> kMonthLabels = {"T1", "T2", "T3", "T4",  "T5",  "T6",
                                                             "T7", "T8", "T9", "T10", "T11", "T12"};

// Number types, as B6 and kieuSo name them.
inline constexpr const char* kTwoDigits = "2 Con";
inline constexpr const char* kThreeDigits = "3 Con";

}  // namespace pradima::terms
