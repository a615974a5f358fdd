#include "xlsx/cell_formats.h"

#include <map>

#include "base/file_error.h"
#include "xlsx/xml_part.h"

namespace pradima::xlsx {
namespace {

using CustomNumberFormats = std::map<int, std::string>;

CustomNumberFormats ReadCustomNumberFormats(const pugi::xml_node& styleSheet) {
  CustomNumberFormats custom;
  for (pugi::xml_node format : Child(styleSheet, "numFmts").children())
    custom[format.attribute("numFmtId").as_int()] = format.attribute("formatCode").as_string();
  return custom;
}

// A format code with day, month or year codes outside quotes and brackets.
bool CodeShowsDate(const std::string& code) {
  bool quoted = false, bracket = false;
  for (char c : code) {
    if (c == '"') quoted = !quoted;
    else if (c == '[') bracket = true;
    else if (c == ']') bracket = false;
    else if (!quoted && !bracket && (c == 'd' || c == 'm' || c == 'y' || c == 'D' || c == 'M' || c == 'Y')) return true;
  }
  return false;
}

bool NumberFormatShowsDate(int id, const CustomNumberFormats& custom) {
  const bool builtInDate = (id >= 14 && id <= 22) || (id >= 45 && id <= 47);
  if (builtInDate) return true;
  const auto code = custom.find(id);
  return code != custom.end() && CodeShowsDate(code->second);
}

}  // namespace

CellFormats CellFormats::Read(const ZipPackage& package) {
  return package.Has(kStylesPart) ? Parse(package.Read(kStylesPart), package.Where(kStylesPart)) : CellFormats();
}

CellFormats CellFormats::Parse(const std::string& stylesPart, const std::string& where) {
  CellFormats formats;
  const pugi::xml_document styles = ParseXmlPart(stylesPart, where);
  const pugi::xml_node styleSheet = Child(styles, "styleSheet");
  const CustomNumberFormats custom = ReadCustomNumberFormats(styleSheet);
  for (pugi::xml_node xf : Child(styleSheet, "cellXfs").children()) {
    const bool showsDate = NumberFormatShowsDate(xf.attribute("numFmtId").as_int(0), custom);
    if (showsDate && !formats.dateFormat_) formats.dateFormat_ = static_cast<int>(formats.showsDate_.size());
    formats.showsDate_.push_back(showsDate);
  }
  return formats;
}

std::string CellFormats::AddDateFormat(const ZipPackage& package, const std::string& path) {
  pugi::xml_document styles = ParseXmlPart(package.Read(kStylesPart), package.Where(kStylesPart));
  pugi::xml_node cellXfs = Child(Child(styles, "styleSheet"), "cellXfs");
  if (!cellXfs) Fail(path + ": its styles have no cell formats");
  pugi::xml_node xf = cellXfs.append_child("xf");
  xf.append_attribute("numFmtId") = 14;  // the built-in short date
  xf.append_attribute("fontId") = 0;
  xf.append_attribute("fillId") = 0;
  xf.append_attribute("borderId") = 0;
  xf.append_attribute("xfId") = 0;
  xf.append_attribute("applyNumberFormat") = 1;
  dateFormat_ = static_cast<int>(showsDate_.size());
  showsDate_.push_back(true);
  cellXfs.attribute("count").set_value(static_cast<int>(showsDate_.size()));
  return SerializeXml(styles);
}

}  // namespace pradima::xlsx
