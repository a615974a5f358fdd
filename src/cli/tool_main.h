#pragma once
#include <string>

#include "base/clock.h"

namespace pradima::cli {

// The whole tool on the process's command line and standard streams,
// fetching from `resultsSite` and reading the date and time from `clock`;
// returns the exit code. The output is written once the command is done,
// so a workbook is saved before anything reaches a reader that may stop
// early.
int RunTool(int argc, char** argv, const std::string& resultsSite, const Clock& clock);

}  // namespace pradima::cli
