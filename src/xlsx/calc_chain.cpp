#include "xlsx/calc_chain.h"

#include <strings.h>

#include <string_view>

#include "xlsx/workbook_parts.h"
#include "xlsx/xml_part.h"

namespace pradima::xlsx {
namespace {

constexpr const char* kContentTypesPart = "[Content_Types].xml";
constexpr const char* kDefaultChainPart = "xl/calcChain.xml";

bool IsChainRelationship(const pugi::xml_node& relationship) {
  return std::string_view(relationship.attribute("Type").as_string()).ends_with("/calcChain");
}

// The chain's part, its relationship taken out of the workbook's; none when the workbook has no chain.
std::string TakeOutChainRelationship(const ZipPackage& package, PackageChanges& changes) {
  if (!package.Has(kWorkbookRelationshipsPart)) return package.Has(kDefaultChainPart) ? kDefaultChainPart : "";
  pugi::xml_document relationships =
      ParseXmlPart(package.Read(kWorkbookRelationshipsPart), package.Where(kWorkbookRelationshipsPart));
  pugi::xml_node root = Child(relationships, "Relationships");
  std::string chain;
  for (pugi::xml_node relationship = root.first_child(); relationship;) {
    const pugi::xml_node next = relationship.next_sibling();
    if (Named(relationship, "Relationship") && IsChainRelationship(relationship)) {
      chain = ResolveTarget(kWorkbookPart, relationship.attribute("Target").as_string());
      root.remove_child(relationship);
    }
    relationship = next;
  }
  if (!chain.empty()) changes.replaced[kWorkbookRelationshipsPart] = SerializeXml(relationships);
  return chain.empty() && package.Has(kDefaultChainPart) ? kDefaultChainPart : chain;
}

// Part names are compared without regard to case, with or without their leading slash.
bool SamePart(std::string_view partName, const std::string& part) {
  if (partName.starts_with('/')) partName.remove_prefix(1);
  return partName.size() == part.size() && strncasecmp(partName.data(), part.data(), part.size()) == 0;
}

void TakeOutContentType(const ZipPackage& package, const std::string& part, PackageChanges& changes) {
  if (!package.Has(kContentTypesPart)) return;
  pugi::xml_document types = ParseXmlPart(package.Read(kContentTypesPart), package.Where(kContentTypesPart));
  pugi::xml_node root = Child(types, "Types");
  bool found = false;
  for (pugi::xml_node type = root.first_child(); type;) {
    const pugi::xml_node next = type.next_sibling();
    if (Named(type, "Override") && SamePart(type.attribute("PartName").as_string(), part)) {
      root.remove_child(type);
      found = true;
    }
    type = next;
  }
  if (found) changes.replaced[kContentTypesPart] = SerializeXml(types);
}

}  // namespace

void DropCalculationChain(const ZipPackage& package, PackageChanges& changes) {
  const std::string chain = TakeOutChainRelationship(package, changes);
  if (chain.empty()) return;
  TakeOutContentType(package, chain, changes);
  changes.removed.insert(chain);
}

}  // namespace pradima::xlsx
