#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pradima {

inline constexpr int32_t kMaxRows = 1048576;
inline constexpr int32_t kMaxColumns = 16384;

struct CellRef {
  int32_t row = 1;
  int32_t column = 1;
  bool operator==(const CellRef&) const = default;
};

// A rectangle of cells, first at the top left.
struct RangeRef {
  CellRef first;
  CellRef last;
  int32_t rows() const { return last.row - first.row + 1; }
  int32_t columns() const { return last.column - first.column + 1; }
  bool operator==(const RangeRef&) const = default;
};

// "F3", "$A$1", "A5:FF812" (corners in either order), within the sheet's size.
std::optional<RangeRef> ParseAddress(std::string_view address);
// 1 gives "A", 162 gives "FF".
std::string ColumnLetters(int32_t column);
// 0 when the text is not a column name within the sheet.
int32_t ColumnNumber(std::string_view letters);
std::string FormatAddress(const RangeRef& range);
// "A812": one cell.
inline std::string CellAddress(int32_t row, int32_t column) {
  return FormatAddress(RangeRef{{row, column}, {row, column}});
}

}  // namespace pradima
