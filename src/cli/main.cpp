#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

#ifndef PRADIMA_RESULTS_SITE
#error "PRADIMA_RESULTS_SITE must name the results site"
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return pradima::cli::RunCommand(args, PRADIMA_RESULTS_SITE, pradima::SystemLocalTime, std::cout, std::cerr,
                                  isatty(STDERR_FILENO) != 0);
}
