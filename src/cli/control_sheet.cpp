#include "cli/control_sheet.h"

#include <array>
#include <cmath>
#include <iomanip>
#include <ostream>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "session/cell_table.h"
#include "session/conversions.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "text/telex.h"

namespace pradima::cli {
namespace {


// Whether the count of `digits`-digit numbers has a row for the entry: a
// whole number, or digits between spaces, of at most that many digits' worth.
bool Countable(const Value& entry, int digits) {
  const double largest = digits == 3 ? 999 : 99;
  if (entry.IsNumber())
    return entry.number() >= 0 && entry.number() <= largest && entry.number() == std::floor(entry.number());
  if (!entry.IsText()) return false;
  const std::string_view text = entry.text();
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  const std::string_view digitsOnly = text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (digitsOnly.size() > 9 || digitsOnly.find_first_not_of("0123456789") != std::string_view::npos) return false;
  return std::stod(std::string(digitsOnly)) <= largest;
}

}  // namespace

std::string DateText(const Value& value) {
  if (value.kind() == CellKind::Date || value.kind() == CellKind::Number)
    return FormatShortDate(CivilFromSerial(value.number()));
  return ToText(value);
}

const Value& CellAt(const MemorySheet& sheet, const char* address) {
  const CellRef cell = ParseAddress(address)->first;
  return sheet.Get(cell.row, cell.column);
}

void SetCellAt(MemorySheet& sheet, const char* address, Value value) {
  const CellRef cell = ParseAddress(address)->first;
  sheet.Set(cell.row, cell.column, std::move(value));
}

int32_t ListedCount(const MemorySheet& control) {
  const CellRef first = kListFirst;
  const CellRef far = ParseAddress(terms::kListFarCell)->first;
  const int32_t last = control.LastRowAtOrAbove(far.row, far.column);
  if (last < first.row || (last == first.row && control.Get(first.row, first.column).IsEmpty())) return 0;
  return last - first.row + 1;
}

void PrintRequest(const MemorySheet& control, std::ostream& out) {
  out << "period   " << DateText(CellAt(control, terms::kStartDateCell)) << " to "
      << DateText(CellAt(control, terms::kEndDateCell)) << "\n"
      << "region   " << ToText(CellAt(control, terms::kRegionCell)) << "\n"
      << "weekday  " << ToText(CellAt(control, terms::kWeekdayCell)) << "\n"
      << "set      " << ToText(CellAt(control, terms::kNumberSetCell)) << "\n"
      << "type     " << ToText(CellAt(control, terms::kNumberTypeCell)) << "\n";
}

void PrintTable(const MemorySheet& control, std::ostream& out) {
  out << ToText(CellAt(control, terms::kDayCountCell)) << "\n";
  const CellRef first = kListFirst;
  std::vector<std::array<std::string, 3>> rows;
  for (int32_t r = first.row; r < first.row + ListedCount(control); ++r)
    if (HasText(control.Get(r, first.column)))
      rows.push_back({ToText(control.Get(r, first.column)), ToText(control.Get(r, first.column + 1)),
                      ToText(control.Get(r, first.column + 2))});
  size_t width[3] = {6, 4, 11};
  for (const auto& row : rows)
    for (int i = 0; i < 3; ++i) width[i] = std::max(width[i], row[static_cast<size_t>(i)].size());
  out << std::left << std::setw(static_cast<int>(width[0])) << "number"
      << "  " << std::right << std::setw(static_cast<int>(width[1])) << "days"
      << "  " << std::setw(static_cast<int>(width[2])) << "appearances"
      << "\n";
  for (const auto& row : rows) {
    out << std::left << std::setw(static_cast<int>(width[0])) << row[0] << "  " << std::right
        << std::setw(static_cast<int>(width[1])) << row[1] << "  " << std::setw(static_cast<int>(width[2])) << row[2]
        << "\n";
  }
}

void PrintHeadsAndTails(const HeadsAndTails& counts, std::ostream& out) {
  const auto line = [&](const std::string& label, const std::array<int64_t, 10>& values) {
    out << label;
    for (const int64_t value : values) out << std::setw(7) << value;
    out << "\n";
  };
  out << "\n     ";
  for (int digit = 0; digit <= 9; ++digit) out << std::setw(7) << digit;
  out << "\n";
  line(TelexToUnicode(terms::kHeadTelex) + "  ", counts.heads);
  line(TelexToUnicode(terms::kTailTelex) + " ", counts.tails);
}

std::vector<std::string> UncountableListed(const MemorySheet& control, int digits) {
  const CellRef first = kListFirst;
  std::vector<std::string> uncountable;
  for (int32_t r = first.row; r < first.row + ListedCount(control); ++r) {
    const Value& entry = control.Get(r, first.column);
    if (!entry.IsEmpty() && !Countable(entry, digits)) uncountable.push_back(ToText(entry));
  }
  return uncountable;
}

void WarnOfUnknownWeekday(const MemorySheet& control, std::ostream& err) {
  const std::string weekday = ToText(CellAt(control, terms::kWeekdayCell));
  const std::string everyDay = TelexToUnicode(terms::kEveryDayTelex);
  if (weekday == everyDay) return;
  std::string names;
  for (const char* telex : terms::kWeekdayTelexNames) {
    const std::string name = TelexToUnicode(telex);
    if (weekday == name) return;
    names += name;
    names += ", ";
  }
  err << "pradima: the weekday \"" << weekday << "\" in " << terms::kWeekdayCell << " is not one of " << names
      << "so every day is counted (as \"" << everyDay << "\" asks)\n";
}

}  // namespace pradima::cli
