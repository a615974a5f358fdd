#pragma once
#include <memory>
#include <string>
#include <vector>

#include "cli/translate.h"
#include "session/memory_workbook.h"

namespace pradima::cli {

// What to do about a worksheet the engine cannot find by its code name.
inline constexpr const char* kCodeNameRemedy =
    TrLater("set the code names Sheet1 (results), Sheet2 (settings) and Sheet3 (control) as the (Name) of each sheet "
            "in the spreadsheet application's VBA editor, or re-create the workbook with pradima init");

// Some applications save a workbook without the sheets' code names. When no
// sheet has one, the sheets whose tab names are those pradima init gives
// (KetQua, CaiDat, ThongKe) take the code names Sheet1, Sheet2 and Sheet3,
// and are marked changed so the next save writes the code names back.
// Returns the tab names so bound, none when the workbook has code names.
std::vector<std::string> BindCodeNamesByTabNames(const std::vector<std::shared_ptr<MemorySheet>>& sheets);

}  // namespace pradima::cli
