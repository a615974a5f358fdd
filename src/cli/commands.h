#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "base/clock.h"

namespace pradima::cli {

// Runs one command line (without the program name); returns the exit code:
// 0 success, 1 a run-time error (its description on `err`), 2 bad usage.
int RunCommand(const std::vector<std::string>& args, const std::string& resultsSite, const Clock& clock,
               std::ostream& out, std::ostream& err, bool progressOnTerminal);

}  // namespace pradima::cli
