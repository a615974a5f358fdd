#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "base/clock.h"
#include "cli/command_line.h"

namespace pradima::cli {

// What a command may use besides its options: the results site, the clock
// and the two output streams.
struct ToolContext {
  std::string resultsSite;
  Clock clock;
  std::ostream& out;
  std::ostream& err;
  bool progressOnTerminal = false;
};

// Runs one command line (without the program name); returns the exit code:
// 0 success, 1 a run-time error (its description on `err`), 2 bad usage.
int RunCommand(const std::vector<std::string>& args, const std::string& resultsSite, const Clock& clock,
               std::ostream& out, std::ostream& err, bool progressOnTerminal);

// A new workbook file laid out as the engine expects, with drop-down lists
// for the request on the control sheet: what init makes.
void CreateStandardWorkbook(const std::string& path, const CivilDate& today);

// The commands, each with its options checked; each returns its exit code
// and raises its errors. One file each.
int InitCommand(const Options& options, const ToolContext& context);
int UpdateCommand(const Options& options, const ToolContext& context);
int NumbersCommand(const Options& options, const ToolContext& context);
int StatsCommand(const Options& options, const ToolContext& context);
int GanCommand(const Options& options, const ToolContext& context);
int RoiCommand(const Options& options, const ToolContext& context);
int BacnhoCommand(const Options& options, const ToolContext& context);
int XienCommand(const Options& options, const ToolContext& context);
int DeCommand(const Options& options, const ToolContext& context);

}  // namespace pradima::cli
