#include "cli/usage.h"

#include "cli/translate.h"

namespace pradima::cli {
namespace {

constexpr const char* kInit = TrLater("  pradima init BOOK.xlsx|BOOK.xlsm\n");
constexpr const char* kUpdate = TrLater("  pradima update BOOK [--connections N]\n");
constexpr const char* kNumbers = TrLater("  pradima numbers BOOK \"2 Con\"|\"3 Con\"\n");
constexpr const char* kStats =
    TrLater("  pradima stats BOOK [--from DATE] [--to DATE] [--region NAME] [--weekday NAME]\n"
    "                     [--set NAME] [--type \"2 Con\"|\"3 Con\"] [--numbers LIST]\n"
    "                     [--format table|csv|json] [--chart FILE.svg] [--prizes all|3-digit]\n");
constexpr const char* kGan =
    TrLater("  pradima gan BOOK [--from DATE] [--to DATE] [--region NAME] [--weekday NAME]\n"
    "                   [--type \"2 Con\"|\"3 Con\"] [--top N] [--format table|csv|json]\n"
    "                   [--chart FILE.svg] [--prizes all|3-digit]\n");
constexpr const char* kOptions =
    TrLater("options:\n"
    "  -h, --help       this text (\"pradima stats --help\" for one command)\n"
    "  --version        the version of the tool\n");
constexpr const char* kStatsDetails =
    TrLater("The options are written into the control sheet (B1 to B6) before the count, so the\n"
    "workbook keeps the request; options left out keep what the sheet holds.\n"
    "DATE is YYYY-MM-DD or DD/MM/YYYY, from 1900 on; NAME as the control sheet holds it\n"
    "(\"Miền Nam\", \"Thứ Hai\", \"Tất cả\" for every day, \"Số Kép\", \"Full\", \"Tùy Chọn\").\n"
    "--set and --type lay out the list anew, except for \"Tùy Chọn\": its list is the one in column F,\n"
    "which the count checks, tidies and saves. --numbers LIST (digits, comma-separated: 07,12,345)\n"
    "puts that list in column F from F3 down and counts it as \"Tùy Chọn\". When column F is empty,\n"
    "stats first lays out the list of the set in B4 there, as numbers does, and saves it.\n");
constexpr const char* kPrizesDetails =
    TrLater("\"3 Con\" counts every prize, as the workbook does: a two-digit prize (the North's 7th, a\n"
    "Central or South station's 8th) counts as 0xy, so 000 to 099 lead its tables and charts.\n"
    "--prizes 3-digit counts only the prizes drawn with three digits or more (23 a North day,\n"
    "17 a station), as three-digit lô is usually counted; --prizes all (the default) counts all.\n");
constexpr const char* kFormatDetails =
    TrLater("--format csv prints a header row, then one row per number; --format json the request, the\n"
    "number of draw days (draw_days) and the rows. Counts are numbers, a count that is none is\n"
    "empty (csv) or null (json); numbers are texts (\"07\" keeps its zero), dates YYYY-MM-DD.\n");
constexpr const char* kGanDetails =
    TrLater("gan reads the workbook and never writes it. For each number of the type, over the draw days\n"
    "from --from (default: the first stored draw) to --to (default: the last stored draw), chosen\n"
    "as stats chooses them (the region table CaiDatMien, the weekday, a day with results):\n"
    "  last drawn     the last draw day it came, or never within the period;\n"
    "  gap            the draw days after its last appearance to the end (0: drawn on the last\n"
    "                 draw day; every draw day of the period for a number never drawn);\n"
    "  longest        its longest gap: draw days strictly between two appearances, or after the\n"
    "                 last one to the end; the days before its first appearance are no gap;\n"
    "  longest ended  the date of the appearance that ended it, or, for the gap still running,\n"
    "                 the last draw day of the period (marked \"running\"); of equal gaps, the latest.\n"
    "The numbers longest away come first (never drawn first), --top N of them (default 20).\n"
    "--region, --weekday and --type default to what the control sheet holds.\n");
constexpr const char* kChartDetails =
    TrLater("--chart FILE.svg also draws the result as a picture (SVG) into FILE.svg, replacing it: for stats\n"
    "of \"2 Con\", the 100 numbers as a 10 by 10 grid (rows đầu, columns đuôi) coloured\n"
    "from light (fewest appearances) to dark (most), each count in its cell; of \"3 Con\", bars of the\n"
    "30 numbers that appeared most; for gan, each number's current gap as a dark bar over a light bar\n"
    "of its longest gap. stats saves the workbook before it writes the picture.\n");
constexpr const char* kUpdateDetails =
    TrLater("update appends every day missing from the results sheet, fetching the pages over\n"
    "--connections N connections at once (1 to 8, default 4). On a terminal one line shows the\n"
    "days done and the time left. Stopped (Ctrl-C, SIGTERM) or failing on a request, it saves\n"
    "every complete day before that point and says how far it got: run it again to continue.\n"
    "Exit code 130 on Ctrl-C, 143 on SIGTERM.\n");
constexpr const char* kFileDetails =
    TrLater("A workbook in use by another pradima run is refused (exit 1); try again when it has finished.\n");

}  // namespace

std::string UsageOf(const std::string& command) {
  std::string usage = Tr("usage:\n");
  if (command == "init") return usage + Tr(kInit);
  if (command == "update") return usage + Tr(kUpdate) + Tr(kUpdateDetails) + Tr(kFileDetails);
  if (command == "numbers") return usage + Tr(kNumbers) + Tr(kFileDetails);
  if (command == "stats")
    return usage + Tr(kStats) + Tr(kStatsDetails) + Tr(kPrizesDetails) + Tr(kFormatDetails) + Tr(kChartDetails) +
           Tr(kFileDetails);
  if (command == "gan")
    return usage + Tr(kGan) + Tr(kGanDetails) + Tr(kPrizesDetails) + Tr(kFormatDetails) + Tr(kChartDetails);
  usage += Tr(kInit);
  usage += Tr(kUpdate);
  usage += Tr(kNumbers);
  usage += Tr(kStats);
  usage += Tr(kGan);
  usage += Tr(kOptions);
  usage += Tr(kUpdateDetails);
  usage += Tr(kStatsDetails);
  usage += Tr(kGanDetails);
  usage += Tr(kPrizesDetails);
  usage += Tr(kFormatDetails);
  usage += Tr(kChartDetails);
  usage += Tr(kFileDetails);
  usage += Tr("Exit codes: 0 success, 1 a run-time error, 2 bad usage, 130 or 143 an update stopped by a signal.\n");
  return usage;
}

std::string HelpPointer(const std::string& command) {
  return TrFormat("Try \"{1} --help\" for more information.\n", {command.empty() ? "pradima" : "pradima " + command});
}

}  // namespace pradima::cli
