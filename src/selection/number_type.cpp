#include "selection/number_type.h"

#include <cmath>
#include <cstdio>

#include "base/error.h"
#include "session/address.h"
#include "session/conversions.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "text/telex.h"

namespace pradima {
namespace {

struct NumberType {
  int width = 0;  // 0: plain decimal text
  int doubleStep = 0;
  int largest = 0;
  const char* savedListFirstCell = "";
};

NumberType NumberTypeOf(const std::string& loaiSo) {
  if (loaiSo == terms::kTwoDigits) return {2, 11, 99, terms::kSavedTwoDigitList};
  if (loaiSo == terms::kThreeDigits) return {3, 111, 999, terms::kSavedThreeDigitList};
  return {};
}

std::string Pad(long long number, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lld", width, number);
  return buffer;
}

std::vector<Value> SavedCustomList(Worksheet& settings, const NumberType& type, const std::string& loaiSo) {
  if (*type.savedListFirstCell == '\0') {
    throw Error(VbError::InvalidArgument,
                "the number type \"" + loaiSo + "\" has no saved custom list; it must be 2 Con or 3 Con");
  }
  const RangeRef first = *ParseAddress(type.savedListFirstCell);
  const std::string column = ColumnLetters(first.first.column);
  const int32_t last = LastUsedRow(settings, column + std::to_string(terms::kSavedListRows));
  if (last < first.first.row) {
    throw Error(VbError::SubscriptOutOfRange,
                "no custom list is saved in column " + column + " of the settings sheet for " + loaiSo);
  }
  const Block saved =
      settings.GetRange(std::string(type.savedListFirstCell) + ":" + column + std::to_string(last + 2))->GetValue();
  std::vector<Value> entries;
  for (int32_t r = 1; r <= last - first.first.row + 1; ++r) {
    std::string entry = FormatListEntry(saved(r, 1), type.width);
    // An empty text clears its cell, as the spreadsheet does with "".
    entries.push_back(entry.empty() ? Value() : Value::Text(std::move(entry)));
  }
  return entries;
}

}  // namespace

std::string FormatListEntry(const Value& value, int width) {
  double number = 0;
  if (value.IsNumber()) {
    number = value.number();
  } else if (value.IsText() && !value.text().empty() &&
             value.text().find_first_not_of("0123456789") == std::string::npos && value.text().size() < 16) {
    number = std::stod(std::string(value.text()));
  } else {
    return ToText(value);
  }
  if (number != std::floor(number) || std::fabs(number) >= 1e15) return ToText(value);
  return Pad(static_cast<long long>(number), width);
}

void ApplyNumberType(Session session, const std::string& loaiSo) {
  const NumberType type = NumberTypeOf(loaiSo);
  Worksheet& control = session.control();
  const std::string numberSet = ToText(CellValue(control, terms::kNumberSetCell));

  std::vector<Value> entries;
  if (numberSet == TelexToUnicode(terms::kDoublesTelex)) {
    for (int k = 0; k <= 9; ++k) entries.push_back(Value::Text(Pad(k * type.doubleStep, type.width)));
  } else if (numberSet == terms::kFullSet) {
    for (int k = 0; k <= type.largest; ++k) entries.push_back(Value::Text(Pad(k, type.width)));
  } else if (numberSet == TelexToUnicode(terms::kCustomTelex)) {
    entries = SavedCustomList(session.settings(), type, loaiSo);
  } else {
    // Checked before anything is cleared, so the control sheet keeps its list.
    throw Error(VbError::InvalidArgument, "the number set \"" + numberSet + "\" in " + terms::kNumberSetCell +
                                              " of the control sheet is none of " +
                                              TelexToUnicode(terms::kDoublesTelex) + ", " + terms::kFullSet + " and " +
                                              TelexToUnicode(terms::kCustomTelex));
  }

  Block list(static_cast<int32_t>(entries.size()), 3);
  for (size_t i = 0; i < entries.size(); ++i) list(static_cast<int32_t>(i) + 1, 1) = std::move(entries[i]);
  control.GetRange(terms::kListFirstCell)->Resize(terms::kListTableRows, terms::kListTableColumns)->ClearContents();
  control.GetRange(terms::kListFirstCell)->Resize(list.rows(), 3)->SetValue(list);
}

std::string NumberText(int32_t number, int digits) {
  char text[12];
  std::snprintf(text, sizeof text, "%0*d", digits, number);
  return text;
}

}  // namespace pradima
