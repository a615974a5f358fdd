#include "xlsx/cell_xml.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "base/date.h"
#include "xlsx/xml_part.h"
#include "base/xml_text.h"

namespace pradima::xlsx {
namespace {

struct ErrorName {
  int32_t code;
  const char* text;
};
// The automation code of each error a cell can show; #VALUE! stands for any other.
constexpr ErrorName kErrorNames[] = {{2007, "#DIV/0!"}, {2029, "#NAME?"}, {2023, "#REF!"},  {2036, "#NUM!"},
                                     {2000, "#NULL!"},  {2042, "#N/A"},   {2015, "#VALUE!"}};
constexpr int32_t kValueError = 2015;

const char* ErrorText(int32_t code) {
  for (const ErrorName& error : kErrorNames)
    if (error.code == code) return error.text;
  return "#VALUE!";
}

int32_t ErrorCode(std::string_view text) {
  for (const ErrorName& error : kErrorNames)
    if (text == error.text) return error.code;
  return kValueError;
}

// A text with spaces at an edge or a line break keeps them only when marked so.
bool NeedsPreservedSpace(std::string_view text) {
  if (text.empty()) return false;
  return text.front() == ' ' || text.back() == ' ' || text.front() == '\t' || text.back() == '\t' ||
         text.find('\n') != std::string_view::npos;
}

void AppendTag(std::string& out, std::string_view open, std::string_view prefix, std::string_view name) {
  out += open;
  out += prefix;
  out += name;
}

// <v>text</v>, the cell's closing '>' before it.
void AppendValueElement(std::string& out, std::string_view prefix, std::string_view text) {
  AppendTag(out, "><", prefix, "v>");
  out += text;
  AppendTag(out, "</", prefix, "v>");
}

void AppendInlineText(std::string& out, std::string_view prefix, std::string_view text) {
  out += " t=\"inlineStr\"";
  AppendTag(out, "><", prefix, "is>");
  AppendTag(out, "<", prefix, "t");
  out += NeedsPreservedSpace(text) ? " xml:space=\"preserve\">" : ">";
  AppendXmlEscaped(out, text);
  AppendTag(out, "</", prefix, "t>");
  AppendTag(out, "</", prefix, "is>");
}

// Two digits at `at`, or -1.
int TwoDigits(std::string_view text, size_t at) {
  if (text.size() < at + 2 || !std::isdigit(static_cast<unsigned char>(text[at])) ||
      !std::isdigit(static_cast<unsigned char>(text[at + 1])))
    return -1;
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// The time of day of "HH:MM", "HH:MM:SS" or "HH:MM:SS.fff" as a fraction of a day.
std::optional<double> IsoTimeOfDay(std::string_view text) {
  if (!text.empty() && text.back() == 'Z') text.remove_suffix(1);
  const int hour = TwoDigits(text, 0), minute = TwoDigits(text, 3);
  if (hour < 0 || hour > 23 || text.size() < 5 || text[2] != ':' || minute < 0 || minute > 59) return std::nullopt;
  double seconds = 0;
  if (text.size() > 5) {
    if (text[5] != ':' || TwoDigits(text, 6) < 0) return std::nullopt;
    const std::string_view rest = text.substr(6);
    const std::from_chars_result end = std::from_chars(rest.data(), rest.data() + rest.size(), seconds);
    if (end.ec != std::errc() || end.ptr != rest.data() + rest.size() || seconds >= 60) return std::nullopt;
  }
  return (hour * 3600 + minute * 60 + seconds) / 86400;
}

// A date cell stores the date as ISO 8601 text ("2026-03-08" or "2026-03-08T18:30:00").
std::optional<DateSerial> IsoDateSerial(std::string_view text) {
  const size_t timeMark = text.find('T');
  const std::optional<CivilDate> day = ParseCivilDate(text.substr(0, timeMark));
  if (!day || text.substr(0, timeMark).find('-') == std::string_view::npos) return std::nullopt;
  if (timeMark == std::string_view::npos) return SerialFromCivil(*day);
  const std::optional<double> time = IsoTimeOfDay(text.substr(timeMark + 1));
  if (!time) return std::nullopt;
  return SerialFromCivil(*day) + *time;
}

// The index of a shared string, read as the C library reads an unsigned number.
size_t SharedStringIndex(std::string_view text) {
  size_t index = 0;
  const std::from_chars_result end = std::from_chars(text.data(), text.data() + text.size(), index);
  if (end.ec == std::errc() && end.ptr == text.data() + text.size()) return index;
  return static_cast<size_t>(std::strtoul(std::string(text).c_str(), nullptr, 10));
}

// A number read as the C library reads it: the same correctly rounded value
// for a plain decimal, and the library's own leniency for anything else.
double NumberOf(std::string_view text) {
  double number = 0;
  const std::from_chars_result end = std::from_chars(text.data(), text.data() + text.size(), number);
  if (end.ec == std::errc() && end.ptr == text.data() + text.size()) return number;
  return std::strtod(std::string(text).c_str(), nullptr);
}

}  // namespace

Value CellReader::Read(const pugi::xml_node& cell) const {
  const std::string_view type = cell.attribute("t").as_string("n");
  const std::string inlineText = type == "inlineStr" ? StringItemText(Child(cell, "is")) : std::string();
  const pugi::xml_node v = Child(cell, "v");
  const std::string_view valueText = v.text().get();
  // The format is read only for a number, as only a number can show as a date.
  const bool number = type != "inlineStr" && type != "s" && type != "str" && type != "b" && type != "e" && type != "d";
  return FromParts(type, number ? cell.attribute("s").as_int(0) : 0, v ? &valueText : nullptr, inlineText);
}

Value CellReader::FromParts(std::string_view type, int format, const std::string_view* valueText,
                            std::string_view inlineText) const {
  if (type == "inlineStr") return Value::Text(inlineText);
  if (!valueText) return Value();
  const std::string_view text = *valueText;
  if (type == "s") {
    const size_t index = SharedStringIndex(text);
    return index < sharedStrings_.size() ? Value::Text(sharedStrings_[index]) : Value();
  }
  if (type == "str") return Value::Text(text);
  if (type == "b") return Value::Boolean(text == "1");
  if (type == "e") return Value::Error(ErrorCode(text));
  if (type == "d") {
    // A text that is no date is kept as the text, so nothing is lost.
    const std::optional<DateSerial> serial = IsoDateSerial(text);
    return serial ? Value::Date(*serial) : Value::Text(text);
  }
  const double number = NumberOf(text);
  if (formats_.ShowsDate(format)) return Value::Date(number);
  return Value::Number(number);
}

void AppendXmlAttribute(std::string& out, std::string_view name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendXmlEscaped(out, value);
  out += '"';
}

std::string NumberText(double number) {
  char text[32];
  const std::to_chars_result end = std::to_chars(text, text + sizeof text, number);
  return std::string(text, end.ptr);
}

void AppendCellXml(std::string& out, std::string_view prefix, std::string_view reference, int format,
                   const Value& value) {
  AppendTag(out, "<", prefix, "c");
  AppendXmlAttribute(out, "r", reference);
  if (format > 0) AppendXmlAttribute(out, "s", std::to_string(format));
  switch (value.kind()) {
    case CellKind::Number:
    case CellKind::Date: AppendValueElement(out, prefix, NumberText(value.number())); break;
    case CellKind::Text: AppendInlineText(out, prefix, value.text()); break;
    case CellKind::Boolean:
      out += " t=\"b\"";
      AppendValueElement(out, prefix, value.boolean() ? "1" : "0");
      break;
    case CellKind::Error:
      out += " t=\"e\"";
      AppendValueElement(out, prefix, ErrorText(value.errorCode()));
      break;
    case CellKind::Empty: out += "/>"; return;
  }
  AppendTag(out, "</", prefix, "c>");
}

}  // namespace pradima::xlsx
