#include "results/retry_after.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <vector>

#include "base/date.h"

namespace pradima {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The words of a date, split at blanks, commas and hyphens.
std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == ' ' || text[i] == ',' || text[i] == '-') {
      if (i > start) words.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return words;
}

// A whole number of at most `maxDigits` digits, or -1.
int64_t Number(std::string_view text, size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return -1;
  int64_t n = 0;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

int Month(std::string_view name) {
  const auto* found = std::find(kMonths.begin(), kMonths.end(), name);
  return found == kMonths.end() ? 0 : static_cast<int>(found - kMonths.begin()) + 1;
}

// "08:49:37" as seconds into the day, or -1.
int64_t TimeOfDay(std::string_view text) {
  if (text.size() != 8 || text[2] != ':' || text[5] != ':') return -1;
  const int64_t h = Number(text.substr(0, 2), 2), m = Number(text.substr(3, 2), 2), s = Number(text.substr(6, 2), 2);
  if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 60) return -1;
  return h * 3600 + m * 60 + s;
}

}  // namespace

std::optional<int64_t> ParseHttpDate(std::string_view text) {
  const std::vector<std::string_view> w = Words(text);
  // The weekday is not checked against the date: the date decides.
  if (w.size() < 5 || w[0].empty() || !std::isalpha(static_cast<unsigned char>(w[0][0]))) return std::nullopt;
  int64_t year = 0, day = 0, time = 0;
  int month = 0;
  if (w.size() == 5 && Month(w[1])) {  // asctime
    month = Month(w[1]);
    day = Number(w[2], 2);
    time = TimeOfDay(w[3]);
    year = Number(w[4], 4);
  } else if (w.size() == 6 && w[5] == "GMT") {
    day = Number(w[1], 2);
    month = Month(w[2]);
    time = TimeOfDay(w[4]);
    year = w[3].size() == 2 ? Number(w[3], 2) : w[3].size() == 4 ? Number(w[3], 4) : -1;
    if (w[3].size() == 2 && year >= 0) year += year < 70 ? 2000 : 1900;
  } else {
    return std::nullopt;
  }
  const CivilDate date{static_cast<int>(year), month, static_cast<int>(day)};
  if (year < 0 || day < 0 || time < 0 || !IsValidCivil(date)) return std::nullopt;
  return DaysFromCivil(date) * 86400 + time;
}

std::optional<std::chrono::seconds> RetryAfterWait(std::string_view value, int64_t nowUtc) {
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  // Nine digits are some thirty years: more is as good as forever.
  if (!value.empty() && std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::chrono::seconds(value.size() > 9 ? int64_t{999999999} : Number(value, 9));
  }
  const std::optional<int64_t> at = ParseHttpDate(value);
  if (!at) return std::nullopt;
  return std::chrono::seconds(std::max<int64_t>(0, *at - nowUtc));
}

}  // namespace pradima
