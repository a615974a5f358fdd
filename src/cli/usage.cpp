#include "cli/usage.h"

namespace pradima::cli {
namespace {

constexpr const char* kInit = "  pradima init BOOK.xlsx|BOOK.xlsm\n";
constexpr const char* kUpdate = "  pradima update BOOK\n";
constexpr const char* kNumbers = "  pradima numbers BOOK \"2 Con\"|\"3 Con\"\n";
constexpr const char* kStats =
    "  pradima stats BOOK [--from DATE] [--to DATE] [--region NAME] [--weekday NAME]\n"
    "                     [--set NAME] [--type \"2 Con\"|\"3 Con\"] [--numbers LIST]\n";
constexpr const char* kOptions =
    "options:\n"
    "  -h, --help       this text (\"pradima stats --help\" for one command)\n"
    "  --version        the version of the tool\n";
constexpr const char* kStatsDetails =
    "The options are written into the control sheet (B1 to B6) before the count, so the\n"
    "workbook keeps the request; options left out keep what the sheet holds.\n"
    "DATE is YYYY-MM-DD or DD/MM/YYYY, from 1900 on; NAME as the control sheet holds it\n"
    "(\"Miền Nam\", \"Thứ Hai\", \"Tất cả\" for every day, \"Số Kép\", \"Full\", \"Tùy Chọn\").\n"
    "--set and --type lay out the list anew, except for \"Tùy Chọn\": its list is the one in column F,\n"
    "which the count checks, tidies and saves. --numbers LIST (digits, comma-separated: 07,12,345)\n"
    "puts that list in column F from F3 down and counts it as \"Tùy Chọn\".\n";
constexpr const char* kFileDetails =
    "A workbook in use by another pradima run is refused (exit 1); try again when it has finished.\n";

}  // namespace

std::string UsageOf(const std::string& command) {
  std::string usage = "usage:\n";
  if (command == "init") return usage + kInit;
  if (command == "update") return usage + kUpdate + kFileDetails;
  if (command == "numbers") return usage + kNumbers + kFileDetails;
  if (command == "stats") return usage + kStats + kStatsDetails + kFileDetails;
  usage += kInit;
  usage += kUpdate;
  usage += kNumbers;
  usage += kStats;
  usage += kOptions;
  usage += kStatsDetails;
  usage += kFileDetails;
  usage += "Exit codes: 0 success, 1 a run-time error, 2 bad usage.\n";
  return usage;
}

}  // namespace pradima::cli
