#pragma once
#include <optional>
#include <string>
#include <vector>

#include "xlsx/zip_package.h"

namespace pradima::xlsx {

// The styles part of every workbook package.
inline constexpr const char* kStylesPart = "xl/styles.xml";

// The cell formats of a workbook (the entries of cellXfs, by index) and
// which of them show a date: a number in a cell of such a format is a date.
class CellFormats {
 public:
  // The formats of the package's styles; none when it has no styles part.
  static CellFormats Read(const ZipPackage& package);
  // The formats of a styles part.
  static CellFormats Parse(const std::string& stylesPart, const std::string& where);

  bool ShowsDate(int format) const {
    return format >= 0 && static_cast<size_t>(format) < showsDate_.size() && showsDate_[static_cast<size_t>(format)];
  }
  // The first format that shows a date, if any.
  std::optional<int> dateFormat() const { return dateFormat_; }

  // Adds one cell format that shows a date, the existing ones staying as
  // they are, and returns the package's styles part with it. `path` names
  // the workbook in an error.
  std::string AddDateFormat(const ZipPackage& package, const std::string& path);

 private:
  std::vector<bool> showsDate_;
  std::optional<int> dateFormat_;
};

}  // namespace pradima::xlsx
