#include "xlsx/workbook_parts.h"

#include <optional>
#include <sstream>

#include "xlsx/xml_part.h"

namespace pradima::xlsx {
namespace {

constexpr const char* kSharedStringsPart = "xl/sharedStrings.xml";

std::string Directory(const std::string& part) {
  const size_t slash = part.rfind('/');
  return slash == std::string::npos ? "" : part.substr(0, slash + 1);
}

// A sheet name as a reference writes it, quoted ('It''s') or plain.
std::string UnquotedSheetName(const std::string& name) {
  if (name.size() < 2 || name.front() != '\'' || name.back() != '\'') return name;
  std::string unquoted;
  for (size_t i = 1; i + 1 < name.size(); ++i) {
    unquoted += name[i];
    if (name[i] == '\'' && name[i + 1] == '\'') ++i;
  }
  return unquoted;
}

struct SheetRange {
  std::string sheet;
  std::string range;
};

// 'Tab name'!$A$2:$H$8 or Tab!$A$2:$H$8, the range without its dollars.
std::optional<SheetRange> ParseSheetRange(const std::string& text) {
  const size_t bang = text.rfind('!');
  if (bang == std::string::npos) return std::nullopt;
  SheetRange reference{UnquotedSheetName(text.substr(0, bang)), {}};
  for (char c : text.substr(bang + 1))
    if (c != '$') reference.range += c;
  return reference;
}

}  // namespace

std::string ResolveTarget(const std::string& base, const std::string& target) {
  const std::string path = target.rfind('/', 0) == 0 ? target.substr(1) : Directory(base) + target;
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
  for (const std::string& segment : segments) {
    if (!joined.empty()) joined += '/';
    joined += segment;
  }
  return joined;
}

std::vector<std::string> ReadSharedStrings(const ZipPackage& package) {
  std::vector<std::string> shared;
  if (!package.Has(kSharedStringsPart)) return shared;
  const pugi::xml_document strings = ParseXmlPart(package.Read(kSharedStringsPart), package.Where(kSharedStringsPart));
  for (pugi::xml_node item : strings.first_child().children())
    if (Named(item, "si")) shared.push_back(StringItemText(item));
  return shared;
}

RelationshipTargets ReadWorkbookRelationships(const ZipPackage& package) {
  const pugi::xml_document relationships =
      ParseXmlPart(package.Read(kWorkbookRelationshipsPart), package.Where(kWorkbookRelationshipsPart));
  RelationshipTargets targets;
  for (pugi::xml_node r : Child(relationships, "Relationships").children())
    targets[r.attribute("Id").as_string()] = ResolveTarget(kWorkbookPart, r.attribute("Target").as_string());
  return targets;
}

std::string SheetRelationshipId(const pugi::xml_node& sheetEntry) {
  // Whatever prefix the relationships namespace has in this file.
  std::string id;
  for (pugi::xml_attribute attribute : sheetEntry.attributes()) {
    const std::string_view name = attribute.name();
    if (name == "r:id" || (name.size() > 3 && name.ends_with(":id"))) id = attribute.value();
  }
  return id;
}

void DefineRangeNames(const pugi::xml_node& definedNames, MemoryWorkbook& book) {
  for (pugi::xml_node name : definedNames.children()) {
    if (name.attribute("localSheetId")) continue;  // a name of one sheet only
    const std::optional<SheetRange> reference = ParseSheetRange(name.text().get());
    if (!reference) continue;
    const auto sheet = book.SheetByTabName(reference->sheet);
    const auto range = ParseAddress(reference->range);
    if (sheet && range) book.DefineName(name.attribute("name").as_string(), sheet, *range);
  }
}

}  // namespace pradima::xlsx
