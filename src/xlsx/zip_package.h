#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "xlsx/zip_writer.h"

namespace pradima::xlsx {

// The most a part may inflate to. A results sheet of twenty years is about
// 70 MB; a part beyond this is refused before it is inflated, and
// inflating stops here whatever the archive says.
inline constexpr uint64_t kLargestPart = uint64_t{512} << 20;

// A zip package (an .xlsx or .xlsm file) opened for reading, and written
// anew with some parts replaced: every other part is copied as stored,
// byte for byte, so a macro project or an image comes through untouched.
// A replaced part keeps its place; new parts come last.
class ZipPackage {
 public:
  // Raises Error when it is not a zip file, or when two of its entries
  // have one name (readers differ on which counts; names compare as a
  // package's part names do, without case); errors name the file `shownAs`
  // (the name the user gave) when there is one.
  explicit ZipPackage(const std::string& path, const std::string& shownAs = "");
  ~ZipPackage();
  ZipPackage(const ZipPackage&) = delete;
  ZipPackage& operator=(const ZipPackage&) = delete;

  bool Has(const std::string& part) const;
  // Raises Error when the part is missing, damaged, or larger than kLargestPart.
  std::string Read(const std::string& part) const;
  // The part's first `count` bytes at most, inflated as they are read: a
  // look at its start that costs little however large the part is.
  std::string ReadStart(const std::string& part, size_t count) const;
  // The part as errors name it: "xl/workbook.xml of book.xlsx".
  std::string Where(const std::string& part) const { return part + " of " + path_; }

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
