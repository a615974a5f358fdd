#pragma once
// Where a Range object the workbook's macros hand over lies: its worksheet's
// code name and its first cell, read through the automation objects.
#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>

namespace pradima::win {

struct RangePlace {
  std::string codeName;
  int32_t row = 0;
  int32_t column = 0;
};

// Whether the object answers to the members a range has (Worksheet, Row,
// Column): looked up by name only, nothing is called.
bool LooksLikeRange(IDispatch* object);

// The range's place; `what` names it in errors. A range of another workbook
// than `workbook` (by COM identity, as a macro's `Is` compares) raises error 5.
RangePlace PlaceOfRange(IDispatch* range, IDispatch* workbook, const std::string& what);

}  // namespace pradima::win
