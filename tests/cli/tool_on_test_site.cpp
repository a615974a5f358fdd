// The tool as shipped, but fetching from the site and reading the date and
// time that a test gives it in the environment, for the tests and
// benchmarks that run it as a process of its own:
//   PRADIMA_TEST_SITE  scheme, host and port of the fixture site
//   PRADIMA_TEST_NOW   the local date and time, "YYYY-MM-DD HH:MM"
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/date.h"
#include "cli/tool_main.h"

int main(int argc, char** argv) {
  const char* site = std::getenv("PRADIMA_TEST_SITE");
  const char* now = std::getenv("PRADIMA_TEST_NOW");
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  if (!site || !now || std::sscanf(now, "%d-%d-%d %d:%d", &year, &month, &day, &hour, &minute) != 5) {
    std::fprintf(stderr, "set PRADIMA_TEST_SITE and PRADIMA_TEST_NOW (\"YYYY-MM-DD HH:MM\")\n");
    return 2;
  }
  const pradima::LocalDateTime moment{{year, month, day}, hour, minute, 0};
  return pradima::cli::RunTool(argc, argv, site, [moment] { return moment; });
}
