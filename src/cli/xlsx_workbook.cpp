#include "cli/xlsx_workbook.h"

#include <pugixml.hpp>

#include <cmath>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "cli/xml_text.h"
#include "base/error.h"

namespace pradima::cli {
namespace {


[[noreturn]] void Fail(const std::string& what) { throw Error(VbError::ApplicationDefined, what); }

pugi::xml_document Parse(const std::string& xml, const std::string& part) {
  pugi::xml_document doc;
  const pugi::xml_parse_result result = doc.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata_single);
  if (!result) Fail("the part " + part + " is not well-formed XML: " + result.description());
  return doc;
}

std::string Serialize(const pugi::xml_document& doc) {
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw);
  return out.str();
}

// A prefixed or plain element name, compared without its prefix.
bool Named(const pugi::xml_node& node, const char* local) {
  const char* name = node.name();
  const char* colon = std::strchr(name, ':');
  return std::strcmp(colon ? colon + 1 : name, local) == 0;
}

pugi::xml_node Child(const pugi::xml_node& node, const char* local) {
  if (pugi::xml_node child = node.child(local)) return child;
  // Prefixed markup ("x:c") is rare; look for it only in a prefixed element.
  if (!std::strchr(node.name(), ':') && node.type() != pugi::node_document) return {};
  for (pugi::xml_node child : node.children())
    if (Named(child, local)) return child;
  return {};
}

std::string Directory(const std::string& part) {
  const size_t slash = part.rfind('/');
  return slash == std::string::npos ? "" : part.substr(0, slash + 1);
}

// A relationship target resolved against the part that holds it.
std::string Resolve(const std::string& base, const std::string& target) {
  std::string path = target.rfind('/', 0) == 0 ? target.substr(1) : Directory(base) + target;
  std::vector<std::string> segments;
  std::stringstream stream(path);
  for (std::string segment; std::getline(stream, segment, '/');) {
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
  }
  std::string joined;
  for (const std::string& segment : segments) joined += (joined.empty() ? "" : "/") + segment;
  return joined;
}

std::string Text(const pugi::xml_node& node) {
  // A string item is a plain <t> or rich-text runs <r><t>.
  if (pugi::xml_node t = Child(node, "t")) return t.text().get();
  std::string text;
  for (pugi::xml_node run : node.children())
    if (Named(run, "r")) text += Child(run, "t").text().get();
  return text;
}

bool IsDateFormat(int id, const std::map<int, std::string>& custom) {
  if ((id >= 14 && id <= 22) || (id >= 45 && id <= 47)) return true;
  const auto it = custom.find(id);
  if (it == custom.end()) return false;
  // A custom format with day, month or year codes outside quotes and brackets.
  bool quoted = false, bracket = false;
  for (char c : it->second) {
    if (c == '"') quoted = !quoted;
    else if (c == '[') bracket = true;
    else if (c == ']') bracket = false;
    else if (!quoted && !bracket && (c == 'd' || c == 'm' || c == 'y' || c == 'D' || c == 'M' || c == 'Y')) return true;
  }
  return false;
}

std::string FormatNumber(double number) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", number);
  // the shortest text that reads back as the same number
  for (int precision = 1; precision <= 17; ++precision) {
    char shorter[32];
    std::snprintf(shorter, sizeof shorter, "%.*g", precision, number);
    if (std::strtod(shorter, nullptr) == number) return shorter;
  }
  return buffer;
}

const char* ErrorText(int32_t code) {
  switch (code) {
    case 2007: return "#DIV/0!";
    case 2029: return "#NAME?";
    case 2023: return "#REF!";
    case 2036: return "#NUM!";
    case 2000: return "#NULL!";
    case 2042: return "#N/A";
    default: return "#VALUE!";
  }
}

int32_t ErrorCode(const std::string& text) {
  for (int32_t code : {2007, 2029, 2023, 2036, 2000, 2042, 2015})
    if (text == ErrorText(code)) return code;
  return 2015;
}

struct CellReader {
  const std::vector<std::string>& shared;
  const std::vector<bool>& dateStyles;

  Value Read(const pugi::xml_node& cell) const {
    const std::string type = cell.attribute("t").as_string("n");
    const pugi::xml_node v = Child(cell, "v");
    if (type == "inlineStr") return Value::Text(Text(Child(cell, "is")));
    if (!v) return Value();
    const char* text = v.text().get();
    if (type == "s") {
      const size_t index = static_cast<size_t>(std::strtoul(text, nullptr, 10));
      return index < shared.size() ? Value::Text(shared[index]) : Value();
    }
    if (type == "str") return Value::Text(text);
    if (type == "b") return Value::Boolean(std::strcmp(text, "1") == 0);
    if (type == "e") return Value::Error(ErrorCode(text));
    const double number = std::strtod(text, nullptr);
    const int style = cell.attribute("s").as_int(0);
    if (style >= 0 && static_cast<size_t>(style) < dateStyles.size() && dateStyles[static_cast<size_t>(style)]) {
      return Value::Date(number);
    }
    return Value::Number(number);
  }
};

// 'Tab name'!$A$2:$H$8 or Tab!$A$2:$H$8
bool ParseNameReference(std::string text, std::string& sheet, std::string& range) {
  const size_t bang = text.rfind('!');
  if (bang == std::string::npos) return false;
  sheet = text.substr(0, bang);
  range = text.substr(bang + 1);
  if (sheet.size() >= 2 && sheet.front() == '\'' && sheet.back() == '\'') {
    std::string unquoted;
    for (size_t i = 1; i + 1 < sheet.size(); ++i) {
      unquoted += sheet[i];
      if (sheet[i] == '\'' && sheet[i + 1] == '\'') ++i;
    }
    sheet = unquoted;
  }
  std::string plain;
  for (char c : range)
    if (c != '$') plain += c;
  range = plain;
  return true;
}

void AppendAttribute(std::string& out, std::string_view name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendXmlEscaped(out, value);
  out += '"';
}

// One cell as the spreadsheet stores it; texts inline, so the shared
// strings of the file stay as they were.
void AppendCell(std::string& out, const std::string& prefix, const std::string& ref, int style, const Value& value) {
  out += "<" + prefix + "c";
  AppendAttribute(out, "r", ref);
  if (style > 0) AppendAttribute(out, "s", std::to_string(style));
  switch (value.kind()) {
    case CellKind::Number:
    case CellKind::Date: out += "><" + prefix + "v>" + FormatNumber(value.number()) + "</" + prefix + "v>"; break;
    case CellKind::Text: {
      const std::string_view text = value.text();
      const bool edges = !text.empty() && (text.front() == ' ' || text.back() == ' ' || text.front() == '\t' ||
                                           text.back() == '\t' || text.find('\n') != std::string_view::npos);
      out += " t=\"inlineStr\"><" + prefix + "is><" + prefix + "t" + (edges ? " xml:space=\"preserve\">" : ">");
      AppendXmlEscaped(out, text);
      out += "</" + prefix + "t></" + prefix + "is>";
      break;
    }
    case CellKind::Boolean:
      out += std::string(" t=\"b\"><") + prefix + "v>" + (value.boolean() ? "1" : "0") + "</" + prefix + "v>";
      break;
    case CellKind::Error:
      out += std::string(" t=\"e\"><") + prefix + "v>" + ErrorText(value.error_code()) + "</" + prefix + "v>";
      break;
    case CellKind::Empty: out += "/>"; return;
  }
  out += "</" + prefix + "c>";
}

}  // namespace

XlsxWorkbook::XlsxWorkbook(XlsxWorkbook&&) noexcept = default;
XlsxWorkbook::~XlsxWorkbook() = default;

XlsxWorkbook XlsxWorkbook::Open(const std::string& path) {
  if (!std::filesystem::exists(path)) Fail(path + ": no such file");
  XlsxWorkbook workbook;
  workbook.path_ = path;
  workbook.package_ = std::make_unique<ZipPackage>(path);
  const ZipPackage& package = *workbook.package_;
  if (!package.Has("xl/workbook.xml")) Fail(path + " is not a workbook: it has no xl/workbook.xml");

  std::vector<std::string> shared;
  if (package.Has("xl/sharedStrings.xml")) {
    const pugi::xml_document strings = Parse(package.Read("xl/sharedStrings.xml"), "xl/sharedStrings.xml");
    for (pugi::xml_node item : strings.first_child().children())
      if (Named(item, "si")) shared.push_back(Text(item));
  }

  workbook.styles_part_ = "xl/styles.xml";
  if (package.Has(workbook.styles_part_)) {
    const pugi::xml_document styles = Parse(package.Read(workbook.styles_part_), workbook.styles_part_);
    std::map<int, std::string> custom;
    for (pugi::xml_node format : Child(Child(styles, "styleSheet"), "numFmts").children())
      custom[format.attribute("numFmtId").as_int()] = format.attribute("formatCode").as_string();
    for (pugi::xml_node xf : Child(Child(styles, "styleSheet"), "cellXfs").children()) {
      const bool isDate = IsDateFormat(xf.attribute("numFmtId").as_int(0), custom);
      if (isDate && workbook.date_style_ < 0) workbook.date_style_ = static_cast<int>(workbook.date_styles_.size());
      workbook.date_styles_.push_back(isDate);
    }
  }

  const pugi::xml_document relationships =
      Parse(package.Read("xl/_rels/workbook.xml.rels"), "xl/_rels/workbook.xml.rels");
  std::map<std::string, std::string> targets;
  for (pugi::xml_node r : Child(relationships, "Relationships").children())
    targets[r.attribute("Id").as_string()] = Resolve("xl/workbook.xml", r.attribute("Target").as_string());

  const pugi::xml_document book = Parse(package.Read("xl/workbook.xml"), "xl/workbook.xml");
  const pugi::xml_node root = Child(book, "workbook");
  workbook.book_ = MemoryWorkbook::Create();
  const CellReader reader{shared, workbook.date_styles_};
  for (pugi::xml_node entry : Child(root, "sheets").children()) {
    std::string id;
    for (pugi::xml_attribute attribute : entry.attributes()) {
      const std::string name = attribute.name();
      if (name == "r:id" || (name.size() > 3 && name.substr(name.size() - 3) == ":id")) id = attribute.value();
    }
    const auto target = targets.find(id);
    if (target == targets.end() || !package.Has(target->second)) continue;  // a chart sheet or a broken link
    const pugi::xml_document xml = Parse(package.Read(target->second), target->second);
    const pugi::xml_node worksheet = Child(xml, "worksheet");
    if (!worksheet) continue;
    const std::string codeName = Child(worksheet, "sheetPr").attribute("codeName").as_string();
    auto sheet = workbook.book_->AddSheet(codeName, entry.attribute("name").as_string());
    int32_t lastRow = 0;
    std::vector<Value> cells;
    for (pugi::xml_node row : Child(worksheet, "sheetData").children()) {
      const int32_t rowNumber = row.attribute("r").as_int(lastRow + 1);
      lastRow = rowNumber;
      int32_t column = 0;
      cells.clear();
      for (pugi::xml_node cell : row.children()) {
        if (!Named(cell, "c")) continue;
        ++column;
        if (const auto ref = ParseAddress(cell.attribute("r").as_string())) column = ref->first.column;
        Value value = reader.Read(cell);
        if (value.IsEmpty()) continue;
        if (static_cast<int32_t>(cells.size()) < column) cells.resize(static_cast<size_t>(column));
        cells[static_cast<size_t>(column - 1)] = std::move(value);
      }
      if (rowNumber >= 1 && rowNumber <= kMaxRows && !cells.empty()) sheet->SetRow(rowNumber, std::move(cells));
    }
    sheet->modified = false;
    workbook.sheets_.push_back({sheet, target->second});
  }

  for (pugi::xml_node name : Child(root, "definedNames").children()) {
    if (name.attribute("localSheetId")) continue;
    std::string sheetName, range;
    if (!ParseNameReference(name.text().get(), sheetName, range)) continue;
    const auto sheet = workbook.book_->SheetByTabName(sheetName);
    const auto reference = ParseAddress(range);
    if (sheet && reference) workbook.book_->DefineName(name.attribute("name").as_string(), sheet, *reference);
  }
  workbook.book_->ResetCalls();
  return workbook;
}

std::string XlsxWorkbook::SheetXml(const SheetPart& part, const std::string& original) const {
  pugi::xml_document doc = Parse(original, part.part);
  pugi::xml_node worksheet = Child(doc, "worksheet");
  pugi::xml_node sheetData = Child(worksheet, "sheetData");
  if (!sheetData) sheetData = worksheet.insert_child_after("sheetData", Child(worksheet, "sheetFormatPr"));
  const std::string name = sheetData.name();
  const std::string prefix = name.substr(0, name.find(':') == std::string::npos ? 0 : name.find(':') + 1);

  // The cells as they were, row by row, to keep row formats, cell styles,
  // styled empty cells and the formulas of cells whose value did not change.
  std::map<int32_t, pugi::xml_node> originalRows;
  for (pugi::xml_node row : sheetData.children()) originalRows[row.attribute("r").as_int()] = row;
  std::set<int32_t> rowNumbers;
  for (const auto& [row, node] : originalRows) rowNumbers.insert(row);
  for (const auto& [row, cells] : part.sheet->rows()) rowNumbers.insert(row);

  const std::vector<std::string> none;
  const CellReader reader{none, date_styles_};
  std::string rows;
  rows.reserve(original.size() + part.sheet->rows().size() * 1024);
  int32_t maxRow = 0, maxColumn = 0;
  std::map<int32_t, pugi::xml_node> originals;
  for (const int32_t r : rowNumbers) {
    originals.clear();
    const auto originalRow = originalRows.find(r);
    if (originalRow != originalRows.end())
      for (pugi::xml_node cell : originalRow->second.children())
        if (const auto ref = ParseAddress(cell.attribute("r").as_string())) originals[ref->first.column] = cell;
    const auto stored = part.sheet->rows().find(r);
    const int32_t storedColumns =
        stored == part.sheet->rows().end() ? 0 : static_cast<int32_t>(stored->second.size());

    std::string cells;
    auto next = originals.begin();
    for (int32_t c = 1;; ++c) {
      if (c > storedColumns && next == originals.end()) break;
      if (next != originals.end() && next->first < c) ++next;
      const bool hadOriginal = next != originals.end() && next->first == c;
      const Value& value = c <= storedColumns ? stored->second[static_cast<size_t>(c - 1)] : part.sheet->Get(0, 0);
      if (value.IsEmpty() && !hadOriginal) continue;
      const pugi::xml_node old = hadOriginal ? next->second : pugi::xml_node();
      const bool hadValue = hadOriginal && (Child(old, "v") || Child(old, "is"));
      if (hadOriginal && (value.IsEmpty() ? !hadValue : (Child(old, "f") && reader.Read(old) == value))) {
        std::ostringstream kept;
        old.print(kept, "", pugi::format_raw);
        cells += kept.str();  // unchanged: formula and style included
      } else {
        int style = hadOriginal ? old.attribute("s").as_int(0) : 0;
        const bool styleShowsDate =
            style > 0 && static_cast<size_t>(style) < date_styles_.size() && date_styles_[static_cast<size_t>(style)];
        if (value.kind() == CellKind::Date && !styleShowsDate) style = date_style_;
        if (value.kind() != CellKind::Date && styleShowsDate && !value.IsEmpty()) style = 0;
        AppendCell(cells, prefix, ColumnLetters(c) + std::to_string(r), style, value);
      }
      maxColumn = std::max(maxColumn, c);
    }
    if (cells.empty() && originalRow == originalRows.end()) continue;
    rows += "<" + prefix + "row";
    if (originalRow != originalRows.end()) {
      for (pugi::xml_attribute attribute : originalRow->second.attributes())
        if (std::string_view(attribute.name()) != "spans") AppendAttribute(rows, attribute.name(), attribute.value());
    } else {
      AppendAttribute(rows, "r", std::to_string(r));
    }
    rows += cells.empty() ? "/>" : ">" + cells + "</" + prefix + "row>";
    maxRow = std::max(maxRow, r);
  }
  if (pugi::xml_node dimension = Child(worksheet, "dimension")) {
    const std::string extent = maxRow ? "A1:" + ColumnLetters(std::max(maxColumn, 1)) + std::to_string(maxRow) : "A1";
    dimension.attribute("ref").set_value(extent.c_str());
  }
  // The rows go in as text where the emptied sheetData stands.
  while (sheetData.first_child()) sheetData.remove_child(sheetData.first_child());
  constexpr std::string_view kPlaceholder = "pradima-rows-placeholder";
  sheetData.append_child(pugi::node_pcdata).set_value(std::string(kPlaceholder).c_str());
  std::string xml = Serialize(doc);
  xml.replace(xml.find(kPlaceholder), kPlaceholder.size(), rows);
  return xml;
}

void XlsxWorkbook::Save() {
  std::map<std::string, std::string> replaced;
  bool needsDateStyle = false;
  for (const SheetPart& part : sheets_) {
    if (!part.sheet->modified) continue;
    for (const auto& [row, cells] : part.sheet->rows())
      for (const Value& value : cells) needsDateStyle |= value.kind() == CellKind::Date;
  }
  if (needsDateStyle && date_style_ < 0) {
    // Add one cell format that shows a date; the existing ones stay as they are.
    pugi::xml_document styles = Parse(package_->Read(styles_part_), styles_part_);
    pugi::xml_node cellXfs = Child(Child(styles, "styleSheet"), "cellXfs");
    if (!cellXfs) Fail(path_ + ": its styles have no cell formats");
    pugi::xml_node xf = cellXfs.append_child("xf");
    xf.append_attribute("numFmtId") = 14;
    xf.append_attribute("fontId") = 0;
    xf.append_attribute("fillId") = 0;
    xf.append_attribute("borderId") = 0;
    xf.append_attribute("xfId") = 0;
    xf.append_attribute("applyNumberFormat") = 1;
    date_style_ = static_cast<int>(date_styles_.size());
    date_styles_.push_back(true);
    cellXfs.attribute("count").set_value(static_cast<int>(date_styles_.size()));
    replaced[styles_part_] = Serialize(styles);
  }
  for (const SheetPart& part : sheets_)
    if (part.sheet->modified) replaced[part.part] = SheetXml(part, package_->Read(part.part));
  if (replaced.empty()) return;

  const std::filesystem::path target(path_);
  const std::filesystem::path temporary = target.parent_path() / ("." + target.filename().string() + ".pradima-tmp");
  try {
    package_->WriteTo(temporary.string(), replaced);
    std::filesystem::rename(temporary, target);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw;
  }
  package_ = std::make_unique<ZipPackage>(path_);
  for (const SheetPart& part : sheets_) part.sheet->modified = false;
}

}  // namespace pradima::cli
