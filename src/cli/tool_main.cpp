#include "cli/tool_main.h"

#include <unistd.h>

#include <csignal>
#include <cstring>
#include <iostream>
#include <sstream>
#include <vector>

#include "cli/commands.h"
#include "cli/standard_output.h"
#include "cli/stop_signals.h"
#include "cli/translate.h"

namespace pradima::cli {

int RunTool(int argc, char** argv, const std::string& resultsSite, const Clock& clock) {
  UseTheUsersLanguage();
  std::signal(SIGPIPE, SIG_IGN);
  RemoveTemporaryOnSignals();
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::ostringstream out;
    const int code = RunCommand(args, resultsSite, clock, out, std::cerr, isatty(STDERR_FILENO) != 0);
    if (const int error = WriteOutput(STDOUT_FILENO, out.str())) {
      std::cerr << "pradima: " << TrFormat("cannot write to standard output: {1}", {std::strerror(error)}) << "\n";
      return 1;
    }
    return code;
  } catch (const std::exception& e) {
    std::cerr << "pradima: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace pradima::cli
