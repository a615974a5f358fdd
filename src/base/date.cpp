#include "base/date.h"

#include <cstdio>

#include "base/scan.h"

namespace pradima {

int64_t DaysFromCivil(const CivilDate& date) {
  // Days since 1970-01-01 (Howard Hinnant's algorithm).
  const int64_t y = date.year - (date.month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t mp = (date.month + 9) % 12;
  const int64_t doy = (153 * mp + 2) / 5 + date.day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(int64_t days) {
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  return CivilDate{static_cast<int>(y), m, d};
}

DateSerial SerialFromCivil(const CivilDate& date) {
  return static_cast<double>(DaysFromCivil(date) + kUnixEpochSerial);
}

DateSerial SerialFromDateTime(const LocalDateTime& moment) {
  return SerialFromCivil(moment.date) + (moment.hour * 3600 + moment.minute * 60 + moment.second) / 86400.0;
}

CivilDate CivilFromSerial(DateSerial serial) {
  // Automation dates before the epoch count the day backwards but the time
  // forwards; the calendar day is the whole part toward zero.
  return CivilFromDays(static_cast<int64_t>(std::trunc(serial)) - kUnixEpochSerial);
}

int WeekdayOf(DateSerial serial) {
  const auto days = static_cast<int64_t>(std::trunc(serial));
  // Serial 1 (31 December 1899) was a Sunday.
  const int64_t w = ((days - 1) % 7 + 7) % 7;
  return static_cast<int>(w) + 1;
}

bool IsValidCivil(const CivilDate& date) {
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.year < 100 || date.year > 9999) return false;
  return CivilFromDays(DaysFromCivil(date)) == date;
}

std::string FormatShortDate(const CivilDate& date) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", date.day, date.month, date.year);
  return buffer;
}

std::optional<CivilDate> ParseCivilDate(std::string_view text) {
  int first = 0, second = 0, third = 0;
  if (!TakeNumber(text, 4, first)) return std::nullopt;
  CivilDate date;
  if (TakeChar(text, '-')) {
    if (!TakeNumber(text, 2, second) || !TakeChar(text, '-') || !TakeNumber(text, 2, third)) return std::nullopt;
    date = {first, second, third};
  } else if (TakeChar(text, '/')) {
    if (!TakeNumber(text, 2, second) || !TakeChar(text, '/') || !TakeNumber(text, 4, third)) return std::nullopt;
    date = {third, second, first};
  } else {
    return std::nullopt;
  }
  if (!text.empty() || !IsValidCivil(date)) return std::nullopt;
  return date;
}

std::string IsoDate(const CivilDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

}  // namespace pradima
