#pragma once
#include <memory>
#include <string>

#include "session/memory_workbook.h"

namespace pradima {

// A workbook laid out as the engine expects, with the real weekly schedule
// of stations: results sheet (code name Sheet1) with its four heading rows,
// settings sheet (Sheet2) with BangDai, Bang1 to Bang4 and CaiDatMien as
// workbook-level names, control sheet (Sheet3) with its request cells B1 to
// B6 filled with defaults, and the tables sheet (Sheet4) with a heading per
// table in row 1.
std::shared_ptr<MemoryWorkbook> NewStandardWorkbook(const CivilDate& today);

// The pieces of the settings sheet, for tests that build their own workbook.
void AddStationSchedule(MemoryWorkbook& book, const std::shared_ptr<MemorySheet>& settings);

}  // namespace pradima
