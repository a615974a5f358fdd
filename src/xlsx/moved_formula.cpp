#include "xlsx/moved_formula.h"

#include "session/address.h"

namespace pradima::xlsx {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A character of a name, a number or a reference; any byte of a non-ASCII letter counts.
bool IsWordChar(char c) {
  return IsLetter(c) || IsDigit(c) || c == '_' || c == '.' || c == '\\' || c == '?' || c == '$' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// One part of a reference, a column or a row, with its dollar.
struct Coordinate {
  bool absolute = false;
  int32_t number = 0;
};

// "$AB" or "c": a column within the sheet.
std::optional<Coordinate> ParseColumn(std::string_view text) {
  Coordinate column{!text.empty() && text.front() == '$', 0};
  if (column.absolute) text.remove_prefix(1);
  std::string letters;
  for (char c : text) {
    if (!IsLetter(c)) return std::nullopt;
    letters += static_cast<char>(c & ~0x20);
  }
  column.number = ColumnNumber(letters);
  if (column.number == 0) return std::nullopt;
  return column;
}

// "$12" or "7": a row within the sheet.
std::optional<Coordinate> ParseRow(std::string_view text) {
  Coordinate row{!text.empty() && text.front() == '$', 0};
  if (row.absolute) text.remove_prefix(1);
  if (text.empty() || text.size() > 7) return std::nullopt;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    row.number = row.number * 10 + (c - '0');
  }
  if (row.number < 1 || row.number > kMaxRows) return std::nullopt;
  return row;
}

struct CellCoordinates {
  Coordinate column, row;
};

// "$A$1", "b7": column letters, then the row.
std::optional<CellCoordinates> ParseCell(std::string_view text) {
  size_t split = text.empty() || text.front() != '$' ? 0 : 1;
  while (split < text.size() && IsLetter(text[split])) ++split;
  const auto column = ParseColumn(text.substr(0, split));
  const auto row = ParseRow(text.substr(split));
  if (!column || !row) return std::nullopt;
  return CellCoordinates{*column, *row};
}

class FormulaMover {
 public:
  FormulaMover(std::string_view formula, int32_t rows, int32_t columns)
      : formula_(formula), rows_(rows), columns_(columns) {}

  std::optional<std::string> Moved() {
    while (at_ < formula_.size()) {
      const char c = formula_[at_];
      bool done;
      if (c == '"' || c == '\'') {
        done = CopyQuoted(c);
      } else if (c == '[') {
        done = CopyBracketed();
      } else if (IsWordChar(c)) {
        done = MoveWord();
      } else {
        done = CopyOne();
      }
      if (!done) return std::nullopt;
    }
    return std::move(out_);
  }

 private:
  bool CopyOne() {
    out_ += formula_[at_++];
    return true;
  }

  // A text or a quoted sheet name, whose quote is doubled inside.
  bool CopyQuoted(char quote) {
    size_t end = at_ + 1;
    for (;; ++end) {
      end = formula_.find(quote, end);
      if (end == std::string_view::npos) return false;
      if (end + 1 < formula_.size() && formula_[end + 1] == quote) {
        ++end;
        continue;
      }
      break;
    }
    out_ += formula_.substr(at_, end + 1 - at_);
    at_ = end + 1;
    return true;
  }

  // A structured reference or a linked workbook: brackets nest, and ' escapes the character after it.
  bool CopyBracketed() {
    int depth = 0;
    size_t end = at_;
    for (; end < formula_.size(); ++end) {
      const char c = formula_[end];
      if (c == '\'') {
        ++end;
      } else if (c == '[') {
        ++depth;
      } else if (c == ']' && --depth == 0) {
        break;
      }
    }
    if (end >= formula_.size()) return false;
    out_ += formula_.substr(at_, end + 1 - at_);
    at_ = end + 1;
    return true;
  }

  size_t WordEnd(size_t from) const {
    while (from < formula_.size() && IsWordChar(formula_[from])) ++from;
    return from;
  }

  // What follows a word that makes it a function, a sheet or a table, never a reference.
  bool NamesSomethingElse(size_t end) const {
    return end < formula_.size() && (formula_[end] == '(' || formula_[end] == '!' || formula_[end] == '[');
  }

  bool MoveWord() {
    const size_t end = WordEnd(at_);
    const std::string_view word = formula_.substr(at_, end - at_);
    if (NamesSomethingElse(end)) {
      out_ += word;
    } else if (const auto cell = ParseCell(word)) {
      if (!AppendColumn(cell->column) || !AppendRow(cell->row)) return false;
    } else if (end < formula_.size() && formula_[end] == ':') {
      return MoveWholeRange(word, end);
    } else {
      out_ += word;
    }
    at_ = end;
    return true;
  }

  // "A:C" (whole columns) or "$3:7" (whole rows); any other word before a colon stays.
  bool MoveWholeRange(std::string_view first, size_t colon) {
    const size_t end = WordEnd(colon + 1);
    const std::string_view second = formula_.substr(colon + 1, end - colon - 1);
    const bool range = !NamesSomethingElse(end);
    const auto firstColumn = ParseColumn(first), secondColumn = ParseColumn(second);
    const auto firstRow = ParseRow(first), secondRow = ParseRow(second);
    if (range && firstColumn && secondColumn) {
      if (!AppendColumn(*firstColumn)) return false;
      out_ += ':';
      if (!AppendColumn(*secondColumn)) return false;
      at_ = end;
    } else if (range && firstRow && secondRow) {
      if (!AppendRow(*firstRow)) return false;
      out_ += ':';
      if (!AppendRow(*secondRow)) return false;
      at_ = end;
    } else {
      out_ += first;
      at_ = colon;
    }
    return true;
  }

  bool AppendColumn(const Coordinate& column) {
    const int32_t number = column.absolute ? column.number : column.number + columns_;
    if (number < 1 || number > kMaxColumns) return false;
    if (column.absolute) out_ += '$';
    out_ += ColumnLetters(number);
    return true;
  }

  bool AppendRow(const Coordinate& row) {
    const int32_t number = row.absolute ? row.number : row.number + rows_;
    if (number < 1 || number > kMaxRows) return false;
    if (row.absolute) out_ += '$';
    out_ += std::to_string(number);
    return true;
  }

  const std::string_view formula_;
  const int32_t rows_, columns_;
  size_t at_ = 0;
  std::string out_;
};

}  // namespace

std::optional<std::string> MoveFormula(std::string_view formula, int32_t rows, int32_t columns) {
  return FormulaMover(formula, rows, columns).Moved();
}

}  // namespace pradima::xlsx
