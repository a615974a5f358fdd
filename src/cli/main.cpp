#include <unistd.h>

#include <csignal>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/standard_output.h"

#ifndef PRADIMA_RESULTS_SITE
#error "PRADIMA_RESULTS_SITE must name the results site"
#endif

// The output is written once the command is done, so a workbook is saved
// before anything reaches a reader that may stop early.
int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::ostringstream out;
    const int code = pradima::cli::RunCommand(args, PRADIMA_RESULTS_SITE, pradima::SystemLocalTime, out, std::cerr,
                                              isatty(STDERR_FILENO) != 0);
    if (const int error = pradima::cli::WriteOutput(STDOUT_FILENO, out.str())) {
      std::cerr << "pradima: cannot write to standard output: " << std::strerror(error) << "\n";
      return 1;
    }
    return code;
  } catch (const std::exception& e) {
    std::cerr << "pradima: " << e.what() << "\n";
    return 1;
  }
}
