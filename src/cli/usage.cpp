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
    "                     [--format table|csv|json] [--chart FILE.svg] [--prizes all|3-digit]\n"
    "                     [--station NAME]\n");
constexpr const char* kGan =
    TrLater("  pradima gan BOOK [--from DATE] [--to DATE] [--region NAME] [--weekday NAME]\n"
    "                   [--type \"2 Con\"|\"3 Con\"] [--top N] [--format table|csv|json]\n"
    "                   [--chart FILE.svg] [--prizes all|3-digit] [--station NAME]\n");
constexpr const char* kXien =
    TrLater("  pradima xien BOOK [--from DATE] [--to DATE] [--region NAME] [--weekday NAME]\n"
    "                    [--station NAME] [--size 2|3] [--reverse] [--top N]\n"
    "                    [--format table|csv|json]\n");
constexpr const char* kXienDetails =
    TrLater("xien reads the workbook and never writes it. Over the draw days of the period, chosen as gan\n"
    "chooses them, it counts the sets of --size different two-digit numbers (2, the default, or 3)\n"
    "that all came on the same draw day, over every prize; a number drawn twice that day counts\n"
    "once. The sets that came together on the most draw days come first, ties by their numbers\n"
    "ascending, --top N of them (default 20), each with the last draw day they came together.\n"
    "--reverse counts only the pairs of a number and its reverse (17 and 71; not 11), with --size 2.\n"
    "--station NAME counts one station of the Central or South region. --format csv prints\n"
    "numbers,days,last_date, the numbers joined by \"-\" (\"07-12\"); --format json the request,\n"
    "the number of draw days (draw_days) and the rows.\n");
constexpr const char* kRoi =
    TrLater("  pradima roi BOOK [--from DATE] [--to DATE] [--region NAME] [--weekday NAME]\n"
    "                   [--station NAME] [--format table|csv|json]\n");
constexpr const char* kBacnho =
    TrLater("  pradima bacnho BOOK --after NN[,NN...] [--top N] [--from DATE] [--to DATE]\n"
    "                      [--region NAME] [--weekday NAME] [--station NAME] [--format table|csv|json]\n");
constexpr const char* kDe =
    TrLater("  pradima de BOOK [--by week|year] [--from DATE] [--to DATE] [--region NAME] [--weekday NAME]\n"
    "                  [--station NAME] [--format table|csv|json]\n");
constexpr const char* kOptions =
    TrLater("options:\n"
    "  -h, --help       this text (\"pradima stats --help\" for one command)\n"
    "  --version        the version of the tool\n");
constexpr const char* kStatsDetails =
    TrLater("stats writes its options into the control sheet (B1 to B6) before the count, so the\n"
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
    "number of draw days (draw_days) and the rows. Counts are numbers; a count that is none (stats:\n"
    "a number not drawn in the period, or an entry that is no number; gan: the last draw, the\n"
    "longest gap and its end of a number never drawn) is empty in csv and null in json, never 0.\n"
    "Numbers are texts (\"07\" keeps its zero), dates YYYY-MM-DD. The JSON of stats ends with\n"
    "\"dau\" and \"duoi\": the appearances by first and by last digit, ten each, as the table shows\n"
    "them for \"2 Con\"; null for \"3 Con\".\n");
constexpr const char* kStationDetails =
    TrLater("--station NAME (Miền Trung and Miền Nam only) counts only the block whose head cell names that\n"
    "station, and a draw day is a day it drew; a name no draw day of the period holds is bad usage\n"
    "that lists the names the period holds. The table, the JSON request and a chart's title name\n"
    "the station (JSON \"station\": null for every station). stats --station prints its counts\n"
    "and never writes the workbook: the control sheet has no cell for a station.\n");
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
constexpr const char* kRoiDetails =
    TrLater("roi reads the workbook and never writes it. For each two-digit number, 00 to 99, over the draw\n"
    "days of the period chosen as gan chooses them (the next draw day is the next of those days; with\n"
    "--weekday, the next such weekday):\n"
    "  days            the draw days it came (twice on a day is one day);\n"
    "  roi             of those, the days right after a draw day on which it also came;\n"
    "  streak          the run of consecutive draw days with it that ends on the last draw day of\n"
    "                  the period (0: it did not come that day);\n"
    "  longest streak  its longest such run in the period.\n"
    "The table puts the longest current streaks first (then the longest streaks, then the number);\n"
    "csv and json give the numbers in order: number,days,roi,streak,longest_streak.\n");
constexpr const char* kBacnhoDetails =
    TrLater("bacnho reads the workbook and never writes it. The trigger days are the draw days of the period,\n"
    "chosen as gan chooses them, on which every two-digit number of --after came (\"27\" or \"27,72\"),\n"
    "the last draw day excluded: it has no next. For each number, 00 to 99:\n"
    "  next days  on how many of the draw days right after a trigger day it came;\n"
    "  share      next days / trigger days, to three decimals; none without a trigger day.\n"
    "The numbers most often next come first (ties by number), --top N of them (default 20; 100 gives\n"
    "them all). csv: number,next_days,triggers,share; json adds the request and the trigger days.\n");
constexpr const char* kDeDetails =
    TrLater("de reads the workbook and never writes it. It shows the special prize of each draw day (chosen\n"
    "as gan chooses them) and station: the North's first number, a Central or South station's\n"
    "prize after its name. Its last two digits are the đề, their first digit the đầu, the last the\n"
    "đuôi, and (đầu + đuôi) mod 10 the tổng; a special prize that is blank or not digits is left out.\n"
    "--by week (the default) lays out the đề a row per week, Monday to Sunday across; --by year\n"
    "a table per year, days 1 to 31 down and months across. A day with several stations shows\n"
    "their đề side by side, in the order of their blocks. Then how often each đầu, đuôi and tổng\n"
    "came. --station NAME keeps one station of the Central or South region.\n"
    "--format csv prints date,station,special,de,dau,duoi,tong, a row per draw day and station;\n"
    "--format json the request, draw_days, the rows and the counts dau, duoi and tong (ten each).\n");
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
constexpr const char* kExitCodes =
    TrLater("Exit codes: 0 success, 1 a run-time error, 2 bad usage, 130 or 143 an update stopped by a signal.\n");
constexpr const char* kFileDetails =
    TrLater("A workbook in use by another pradima run is refused (exit 1); try again when it has finished.\n");

// The texts, each in the user's language, one after the other.
std::string Joined(std::initializer_list<const char*> texts) {
  std::string joined = Tr("usage:\n");
  for (const char* text : texts) joined += Tr(text);
  return joined;
}

}  // namespace

std::string UsageOf(const std::string& command) {
  if (command == "init") return Joined({kInit});
  if (command == "update") return Joined({kUpdate, kUpdateDetails, kFileDetails});
  if (command == "numbers") return Joined({kNumbers, kFileDetails});
  if (command == "stats")
    return Joined({kStats, kStatsDetails, kPrizesDetails, kStationDetails, kFormatDetails, kChartDetails,
                   kFileDetails});
  if (command == "gan")
    return Joined({kGan, kGanDetails, kPrizesDetails, kStationDetails, kFormatDetails, kChartDetails});
  if (command == "xien") return Joined({kXien, kXienDetails, kStationDetails});
  if (command == "roi") return Joined({kRoi, kRoiDetails, kStationDetails});
  if (command == "bacnho") return Joined({kBacnho, kBacnhoDetails, kStationDetails});
  if (command == "de") return Joined({kDe, kDeDetails, kStationDetails});
  return Joined({kInit,         kUpdate,        kNumbers,        kStats,          kGan,           kXien,
                 kRoi,          kBacnho,        kDe,             kOptions,        kUpdateDetails, kStatsDetails,
                 kGanDetails,   kXienDetails,   kRoiDetails,     kBacnhoDetails,  kDeDetails,     kStationDetails,
                 kPrizesDetails, kFormatDetails, kChartDetails,  kFileDetails,    kExitCodes});
}

std::string HelpPointer(const std::string& command) {
  return TrFormat("Try \"{1} --help\" for more information.\n", {command.empty() ? "pradima" : "pradima " + command});
}

}  // namespace pradima::cli
