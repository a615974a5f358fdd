#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/error.h"
#include "base/scan.h"
#include "session/conversions.h"

namespace pradima::portable {
namespace {

[[noreturn]] void Mismatch(const Value& value, const char* target) {
  std::string shown = value.IsText() ? "the text \"" + std::string(value.text()) + "\"" : "this value";
  throw Error(VbError::TypeMismatch, "cannot convert " + shown + " to " + target);
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

double RoundHalfEven(double x) { return x - std::remainder(x, 1.0); }

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
  text = Trim(text);
  std::string digits;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) digits += text[i++];
  size_t mantissaDigits = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      digits += c;
      ++mantissaDigits;
    } else if (c == ',' && mantissaDigits > 0) {
      // thousands separator inside the whole part
    } else {
      break;
    }
    ++i;
  }
  if (i < text.size() && text[i] == '.') {
    digits += text[i++];
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      digits += text[i++];
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::string exponent = "e";
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    size_t expDigits = 0;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
      exponent += text[j++];
      ++expDigits;
    }
    if (expDigits == 0) return std::nullopt;
    digits += exponent;
    i = j;
  }
  if (i != text.size()) return std::nullopt;
  const double result = std::strtod(digits.c_str(), nullptr);
  if (!std::isfinite(result)) return std::nullopt;
  return result;
}

std::optional<DateSerial> ParseDate(std::string_view text) {
  text = Trim(text);
  // The day, then a time of day after a space.
  const size_t dayEnd = std::min(text.find_first_of(" \t"), text.size());
  const std::optional<CivilDate> day = ParseCivilDate(text.substr(0, dayEnd));
  if (!day) return std::nullopt;
  LocalDateTime moment{*day, 0, 0, 0};
  std::string_view rest = Trim(text.substr(dayEnd));
  if (!rest.empty()) {
    if (!TakeNumber(rest, 2, moment.hour) || !TakeChar(rest, ':') || !TakeNumber(rest, 2, moment.minute))
      return std::nullopt;
    if (TakeChar(rest, ':') && !TakeNumber(rest, 2, moment.second)) return std::nullopt;
    if (!rest.empty() || moment.hour > 23 || moment.minute > 59 || moment.second > 59) return std::nullopt;
  }
  return SerialFromDateTime(moment);
}

std::string FormatNumber(double number) {
  if (number == 0) return "0";
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15G", number);
  return buffer;
}

DateSerial ToDate(const Value& value) {
  switch (value.kind()) {
    case CellKind::Empty: return 0;
    case CellKind::Date:
    case CellKind::Number: return value.number();
    case CellKind::Boolean: return value.boolean() ? -1 : 0;
    case CellKind::Text:
      if (auto date = ParseDate(value.text())) return *date;
      Mismatch(value, "a date");
    case CellKind::Error: break;
  }
  Mismatch(value, "a date");
}

std::string ToText(const Value& value) {
  switch (value.kind()) {
    case CellKind::Empty: return {};
    case CellKind::Text: return std::string(value.text());
    case CellKind::Number: return FormatNumber(value.number());
    case CellKind::Boolean: return value.boolean() ? "True" : "False";
    case CellKind::Date: {
      const CivilDate day = CivilFromSerial(value.date());
      return FormatShortDate(day);
    }
    case CellKind::Error: break;
  }
  Mismatch(value, "text");
}

int32_t ToLong(const Value& value) {
  double number = 0;
  switch (value.kind()) {
    case CellKind::Empty: return 0;
    case CellKind::Boolean: return value.boolean() ? -1 : 0;
    case CellKind::Number:
    case CellKind::Date: number = value.number(); break;
    case CellKind::Text:
      if (auto parsed = ParseNumber(value.text())) {
        number = *parsed;
        break;
      }
      Mismatch(value, "a whole number");
    case CellKind::Error: Mismatch(value, "a whole number");
  }
  const double rounded = RoundHalfEven(number);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
    throw Error(VbError::Overflow, "the number " + FormatNumber(number) + " does not fit a whole 32-bit number");
  }
  return static_cast<int32_t>(rounded);
}

bool IsNumeric(const Value& value) {
  switch (value.kind()) {
    case CellKind::Empty:
    case CellKind::Number:
    case CellKind::Boolean: return true;
    case CellKind::Text: return ParseNumber(value.text()).has_value();
    case CellKind::Date:
    case CellKind::Error: return false;
  }
  return false;
}

}  // namespace pradima::portable
