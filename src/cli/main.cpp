#include "cli/tool_main.h"

#ifndef PRADIMA_RESULTS_SITE
#error "PRADIMA_RESULTS_SITE must name the results site"
#endif

int main(int argc, char** argv) {
  return pradima::cli::RunTool(argc, argv, PRADIMA_RESULTS_SITE, pradima::SystemLocalTime);
}
