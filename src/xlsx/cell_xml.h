#pragma once
#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

#include "xlsx/cell_formats.h"
#include "xlsx/xml_part.h"
#include "session/address.h"
#include "session/value.h"

namespace pradima::xlsx {

// Reads the value of a cell element <c> as the spreadsheet shows it: a text
// shared, inline or a formula's, a number as a date where the cell's format
// shows a date or an ISO 8601 date (t="d"), a truth value or an error.
class CellReader {
 public:
  CellReader(const std::vector<std::string>& sharedStrings, const CellFormats& formats)
      : sharedStrings_(sharedStrings), formats_(formats) {}
  Value Read(const pugi::xml_node& cell) const;
  // The same from the parts of a cell element: its type (t, "n" when it
  // has none), its format (s), the text of its first <v> when it has one,
  // and the text of its inline string (<is>).
  Value FromParts(std::string_view type, int format, const std::string_view* valueText,
                  std::string_view inlineText) const;

 private:
  const std::vector<std::string>& sharedStrings_;
  const CellFormats& formats_;
};

// Appends one cell element as the spreadsheet stores it, the markup prefix
// (such as "x:") on every element, texts inline so the shared strings of the
// file stay as they were. Format 0 is left out, as the spreadsheet does.
void AppendCellXml(std::string& out, std::string_view prefix, std::string_view reference, int format,
                   const Value& value);
// Appends ` name="value"`, the value escaped.
void AppendXmlAttribute(std::string& out, std::string_view name, std::string_view value);

// The shortest decimal text that reads back as the same number ("80", "0.1", "1e+20").
std::string NumberText(double number);

// Visits the cell elements of a row with the column of each: a cell without
// a reference is the one after the cell before it.
template <typename Visit>
void ForEachCell(const pugi::xml_node& row, Visit visit) {
  int32_t column = 0;
  for (pugi::xml_node cell : row.children()) {
    if (!Named(cell, "c")) continue;
    ++column;
    if (const auto reference = ParseAddress(cell.attribute("r").as_string())) column = reference->first.column;
    visit(cell, column);
  }
}

}  // namespace pradima::xlsx
