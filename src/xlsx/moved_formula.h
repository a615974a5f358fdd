#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pradima::xlsx {

// The formula as it reads in a cell `rows` below and `columns` right of the
// cell it was written for, as filling a formula across cells writes it:
// the relative parts of cell, column and row references move; absolute ($)
// parts, texts, sheet names, function names, defined names and structured
// references stay. None when a moved reference would leave the sheet, or the
// text has an unclosed quote or bracket.
std::optional<std::string> MoveFormula(std::string_view formula, int32_t rows, int32_t columns);

}  // namespace pradima::xlsx
