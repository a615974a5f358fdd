#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "xlsx/zip_writer.h"

namespace pradima::xlsx {

// A zip package (an .xlsx or .xlsm file) opened for reading, and written
// anew with some parts replaced: every other part is copied as stored,
// byte for byte, so a macro project or an image comes through untouched.
// A replaced part keeps its place; new parts come last.
class ZipPackage {
 public:
  // Raises Error when it is not a zip file; errors name the file `shownAs`
  // (the name the user gave) when there is one.
  explicit ZipPackage(const std::string& path, const std::string& shownAs = "");
  ~ZipPackage();
  ZipPackage(const ZipPackage&) = delete;
  ZipPackage& operator=(const ZipPackage&) = delete;

  bool Has(const std::string& part) const;
  std::string Read(const std::string& part) const;  // raises Error when the part is missing

  // Writes the package to `path` with `replaced` parts (new ones added) and without the `removed` ones.
  void WriteTo(const std::string& path, const std::map<std::string, std::string>& replaced,
               const std::set<std::string>& removed = {}) const;

 private:
  StoredPart StoredPartAt(uint64_t index, const std::string& name) const;

  struct Archive;
  std::unique_ptr<Archive> archive_;
  std::string path_;
  uint64_t fileSize_ = 0;
};

// Writes a new package from its parts.
void WritePackage(const std::string& path, const std::map<std::string, std::string>& parts);

}  // namespace pradima::xlsx
