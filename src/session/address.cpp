#include "session/address.h"

#include <algorithm>

namespace pradima {
namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<CellRef> ParseCell(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && text[i] == '$') ++i;
  std::string letters;
  while (i < text.size() && (IsUpper(text[i]) || IsLower(text[i])) && letters.size() < 4) {
    letters += static_cast<char>(IsLower(text[i]) ? text[i] - 'a' + 'A' : text[i]);
    ++i;
  }
  const int32_t column = ColumnNumber(letters);
  if (column == 0) return std::nullopt;
  if (i < text.size() && text[i] == '$') ++i;
  int64_t row = 0;
  const size_t digitsStart = i;
  while (i < text.size() && IsDigit(text[i]) && row <= kMaxRows) row = row * 10 + (text[i++] - '0');
  if (i == digitsStart || i != text.size() || row < 1 || row > kMaxRows) return std::nullopt;
  return CellRef{static_cast<int32_t>(row), column};
}

}  // namespace

int32_t ColumnNumber(std::string_view letters) {
  if (letters.empty() || letters.size() > 3) return 0;
  int32_t column = 0;
  for (char c : letters) {
    if (!IsUpper(c)) return 0;
    column = column * 26 + (c - 'A' + 1);
  }
  return column <= kMaxColumns ? column : 0;
}

std::string ColumnLetters(int32_t column) {
  std::string letters;
  for (; column > 0; column = (column - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
  return letters;
}

std::optional<RangeRef> ParseAddress(std::string_view address) {
  const size_t colon = address.find(':');
  const auto first = ParseCell(address.substr(0, colon));
  if (!first) return std::nullopt;
  if (colon == std::string_view::npos) return RangeRef{*first, *first};
  const auto second = ParseCell(address.substr(colon + 1));
  if (!second) return std::nullopt;
  return RangeRef{{std::min(first->row, second->row), std::min(first->column, second->column)},
                  {std::max(first->row, second->row), std::max(first->column, second->column)}};
}

std::string FormatAddress(const RangeRef& range) {
  std::string text = ColumnLetters(range.first.column) + std::to_string(range.first.row);
  if (range.last == range.first) return text;
  return text + ":" + ColumnLetters(range.last.column) + std::to_string(range.last.row);
}

}  // namespace pradima
