#include "cli/cell_xml.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

#include "cli/xml_part.h"
#include "cli/xml_text.h"

namespace pradima::cli {
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

}  // namespace

Value CellReader::Read(const pugi::xml_node& cell) const {
  const std::string_view type = cell.attribute("t").as_string("n");
  if (type == "inlineStr") return Value::Text(StringItemText(Child(cell, "is")));
  const pugi::xml_node v = Child(cell, "v");
  if (!v) return Value();
  const char* text = v.text().get();
  if (type == "s") {
    const size_t index = static_cast<size_t>(std::strtoul(text, nullptr, 10));
    return index < shared_strings_.size() ? Value::Text(shared_strings_[index]) : Value();
  }
  if (type == "str") return Value::Text(text);
  if (type == "b") return Value::Boolean(std::strcmp(text, "1") == 0);
  if (type == "e") return Value::Error(ErrorCode(text));
  const double number = std::strtod(text, nullptr);
  if (formats_.ShowsDate(cell.attribute("s").as_int(0))) return Value::Date(number);
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
      AppendValueElement(out, prefix, ErrorText(value.error_code()));
      break;
    case CellKind::Empty: out += "/>"; return;
  }
  AppendTag(out, "</", prefix, "c>");
}

}  // namespace pradima::cli
