#pragma once
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pradima {

// Dates are automation dates: days since 30 December 1899, the fraction
// being the time of day.
using DateSerial = double;
// The serial of 1 January 1970, day 0 of DaysFromCivil.
inline constexpr int64_t kUnixEpochSerial = 25569;

struct CivilDate {
  int year = 1899;
  int month = 12;
  int day = 30;
  bool operator==(const CivilDate&) const = default;
};

struct LocalDateTime {
  CivilDate date;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

int64_t DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(int64_t days);
DateSerial SerialFromCivil(const CivilDate& date);
DateSerial SerialFromDateTime(const LocalDateTime& moment);
// The calendar day of a serial; the time of day is dropped.
CivilDate CivilFromSerial(DateSerial serial);
// Sunday = 1 to Saturday = 7.
int WeekdayOf(DateSerial serial);
bool IsValidCivil(const CivilDate& date);
// "dd/MM/yyyy", the short date format the engine sets for the workbook.
std::string FormatShortDate(const CivilDate& date);
// "2025-01-31", as CSV and JSON write a date.
std::string IsoDate(const CivilDate& date);
// A calendar day written "yyyy-MM-dd" or "dd/MM/yyyy" and nothing else;
// none when the text is neither or names no day of the calendar.
std::optional<CivilDate> ParseCivilDate(std::string_view text);

inline DateSerial DayOf(DateSerial serial) { return std::floor(serial); }

}  // namespace pradima
