#pragma once
#include <map>
#include <set>
#include <string>

#include "xlsx/zip_package.h"

namespace pradima::xlsx {

// The parts of a package that a save writes anew, and those it leaves out.
struct PackageChanges {
  std::map<std::string, std::string> replaced;
  std::set<std::string> removed;
};

// Leaves out the workbook's calculation chain, with its relationship and
// content type. The chain lists every cell with a formula; once a formula
// has gone, a chain that still lists its cell is damage to the spreadsheet
// application, which builds the chain anew when it finds none. Nothing
// changes for a package without one.
void DropCalculationChain(const ZipPackage& package, PackageChanges& changes);

}  // namespace pradima::xlsx
