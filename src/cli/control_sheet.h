#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "selection/heads_and_tails.h"
#include "session/address.h"
#include "session/memory_workbook.h"
#include "terms/sheet_layout.h"

namespace pradima::cli {

// The control sheet as the tool reads and reports it: the request in B1:B6,
// the list of numbers from F3 down with its counts.
const Value& CellAt(const MemorySheet& sheet, const char* address);
// F3, where the list of numbers begins.
inline const CellRef kListFirst = ParseAddress(terms::kListFirstCell)->first;
void SetCellAt(MemorySheet& sheet, const char* address, Value value);

// A date cell as dd/mm/yyyy; any other cell as its text.
std::string DateText(const Value& value);

// How many rows the list of numbers takes, F3 down.
int32_t ListedCount(const MemorySheet& control);

// The request of a count, one line for each of period, region, weekday, set and type.
void PrintRequest(const MemorySheet& control, std::ostream& out);
// The day count, then the list with its counts as a table; a blank entry has no row.
void PrintTable(const MemorySheet& control, std::ostream& out);

// Below the table of a two-digit count: the period's appearances by first
// digit (đầu) and by last digit (đuôi), over all 100 numbers.
void PrintHeadsAndTails(const HeadsAndTails& counts, std::ostream& out);

// The listed entries, F3 down, that name no number of `digits` digits ("123"
// or "7a" when two are counted), as the sheet shows them.
std::vector<std::string> UncountableListed(const MemorySheet& control, int digits);

// Any text in B5 that names no weekday counts every day; says so on `err`
// when the text is not the sheet's word for every day either.
void WarnOfUnknownWeekday(const MemorySheet& control, std::ostream& err);

}  // namespace pradima::cli
