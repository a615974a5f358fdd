#include "cli/control_sheet.h"

#include <array>
#include <cmath>
#include <iomanip>
#include <ostream>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "cli/report_format.h"
#include "cli/translate.h"
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
  out << Heading("period")
      << TrFormat("{1} to {2}",
                  {DateText(CellAt(control, terms::kStartDateCell)), DateText(CellAt(control, terms::kEndDateCell))})
      << "\n"
      << Heading("region") << ToText(CellAt(control, terms::kRegionCell)) << "\n"
      << Heading("weekday") << ToText(CellAt(control, terms::kWeekdayCell)) << "\n"
      << Heading("set") << ToText(CellAt(control, terms::kNumberSetCell)) << "\n"
      << Heading("type") << ToText(CellAt(control, terms::kNumberTypeCell)) << "\n";
}

void PrintTable(const MemorySheet& control, std::ostream& out) {
  out << ToText(CellAt(control, terms::kDayCountCell)) << "\n";
  const CellRef first = kListFirst;
  std::vector<std::array<std::string, 3>> rows;
  for (int32_t r = first.row; r < first.row + ListedCount(control); ++r)
    if (HasText(control.Get(r, first.column)))
      rows.push_back({ToText(control.Get(r, first.column)), ToText(control.Get(r, first.column + 1)),
                      ToText(control.Get(r, first.column + 2))});
  const std::array<std::string, 3> headers{Tr("number"), Tr("days"), Tr("appearances")};
  size_t width[3] = {6, 4, 11};
  for (size_t i = 0; i < 3; ++i) width[i] = std::max(width[i], Columns(headers[i]));
  for (const auto& row : rows)
    for (size_t i = 0; i < 3; ++i) width[i] = std::max(width[i], Columns(row[i]));
  out << PadRight(headers[0], width[0]) << "  " << PadLeft(headers[1], width[1]) << "  "
      << PadLeft(headers[2], width[2]) << "\n";
  for (const auto& row : rows)
    out << PadRight(row[0], width[0]) << "  " << PadLeft(row[1], width[1]) << "  " << PadLeft(row[2], width[2]) << "\n";
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
  names.resize(names.size() - 2);
  err << "pradima: "
      << TrFormat("the weekday \"{1}\" in {2} is not one of {3}, so every day is counted (as \"{4}\" asks)",
                  {weekday, terms::kWeekdayCell, names, everyDay})
      << "\n";
}

}  // namespace pradima::cli
