#include "selection/de_tables.h"

#include <algorithm>
#include <cmath>

#include "selection/number_type.h"
#include "terms/lottery.h"

namespace pradima {
namespace {

// The cells of a table as texts while the đề are added; empty texts become empty cells.
using Texts = std::vector<std::vector<std::string>>;

void AddDe(std::string& cell, int32_t de) {
  if (!cell.empty()) cell += ' ';
  cell += NumberText(de, 2);
}

// `first` holds each row's first cell; the other columns come from `texts`.
std::vector<std::vector<Value>> RowsOf(std::vector<Value> first, const Texts& texts) {
  std::vector<std::vector<Value>> rows;
  rows.reserve(first.size());
  for (size_t r = 0; r < first.size(); ++r) {
    std::vector<Value>& row = rows.emplace_back();
    row.push_back(std::move(first[r]));
    for (const std::string& text : texts[r]) row.push_back(text.empty() ? Value() : Value::Text(text));
  }
  return rows;
}

}  // namespace

DeTable DeByWeek(const std::vector<SpecialPrize>& prizes) {
  DeTable table;
  table.headings.emplace_back(terms::kWeekTelex);
  // Monday to Saturday, then Sunday (weekday 1).
  for (size_t w = 1; w <= 7; ++w) table.headings.emplace_back(terms::kWeekdayTelexNames[w % 7]);
  if (prizes.empty()) return table;
  const auto mondayOf = [](DateSerial date) {
    const DateSerial day = std::trunc(date);
    return day - (WeekdayOf(day) + 5) % 7;
  };
  DateSerial first = mondayOf(prizes.front().date), last = first;
  for (const SpecialPrize& prize : prizes) {
    first = std::min(first, mondayOf(prize.date));
    last = std::max(last, mondayOf(prize.date));
  }
  const auto weeks = static_cast<size_t>((last - first) / 7) + 1;
  Texts texts(weeks, std::vector<std::string>(7));
  for (const SpecialPrize& prize : prizes) {
    const DateSerial monday = mondayOf(prize.date);
    AddDe(texts[static_cast<size_t>((monday - first) / 7)][static_cast<size_t>(std::trunc(prize.date) - monday)],
          prize.de);
  }
  std::vector<Value> mondays;
  for (size_t w = 0; w < weeks; ++w) mondays.push_back(Value::Date(first + 7.0 * static_cast<double>(w)));
  table.rows = RowsOf(std::move(mondays), texts);
  return table;
}

std::vector<DeTable> DeByYear(const std::vector<SpecialPrize>& prizes) {
  if (prizes.empty()) return {};
  int32_t first = CivilFromSerial(prizes.front().date).year, last = first;
  for (const SpecialPrize& prize : prizes) {
    first = std::min(first, CivilFromSerial(prize.date).year);
    last = std::max(last, CivilFromSerial(prize.date).year);
  }
  std::vector<Texts> texts(static_cast<size_t>(last - first + 1), Texts(31, std::vector<std::string>(12)));
  for (const SpecialPrize& prize : prizes) {
    const CivilDate date = CivilFromSerial(prize.date);
    AddDe(texts[static_cast<size_t>(date.year - first)][static_cast<size_t>(date.day - 1)]
               [static_cast<size_t>(date.month - 1)],
          prize.de);
  }
  std::vector<DeTable> tables;
  for (int32_t year = first; year <= last; ++year) {
    DeTable& table = tables.emplace_back();
    table.year = year;
    table.headings.emplace_back(terms::kDayTelex);
    table.headings.insert(table.headings.end(), terms::kMonthLabels.begin(), terms::kMonthLabels.end());
    std::vector<Value> days;
    for (int d = 1; d <= 31; ++d) days.push_back(Value::Number(d));
    table.rows = RowsOf(std::move(days), texts[static_cast<size_t>(year - first)]);
  }
  return tables;
}

}  // namespace pradima
