#pragma once
#include <pugixml.hpp>

#include <map>
#include <string>
#include <vector>

#include "xlsx/zip_package.h"
#include "session/memory_workbook.h"

namespace pradima::xlsx {

inline constexpr const char* kWorkbookPart = "xl/workbook.xml";
inline constexpr const char* kWorkbookRelationshipsPart = "xl/_rels/workbook.xml.rels";

// The shared strings of the package in their order; none without the part.
std::vector<std::string> ReadSharedStrings(const ZipPackage& package);

// The parts the workbook part refers to, by relationship id.
using RelationshipTargets = std::map<std::string, std::string>;
RelationshipTargets ReadWorkbookRelationships(const ZipPackage& package);

// A relationship target resolved against the part that holds it: the name of the part it points at.
std::string ResolveTarget(const std::string& base, const std::string& target);

// The relationship id of a <sheet> entry of the workbook part (its r:id).
std::string SheetRelationshipId(const pugi::xml_node& sheetEntry);

// Defines the workbook-level names of <definedNames> that refer to a range
// of one sheet of the book; other names are left out.
void DefineRangeNames(const pugi::xml_node& definedNames, MemoryWorkbook& book);

}  // namespace pradima::xlsx
