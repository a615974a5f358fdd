#include "cli/update_command.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <new>
#include <optional>
#include <ostream>

#include "base/error.h"
#include "cli/book.h"
#include "cli/commands.h"
#include "results/concurrent_pages.h"
#include "cli/stop_signals.h"
#include "cli/translate.h"
#include "results/curl_fetcher.h"
#include "results/update_results.h"
#include "session/address.h"
#include "session/conversions.h"
#include "terms/sheet_layout.h"

namespace pradima::cli {
namespace {

using SteadyClock = std::chrono::steady_clock;

std::string Duration(double seconds) {
  const long total = std::lround(seconds);
  char text[32];
  if (total >= 3600) std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  else std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  return text;
}

// "1234/7300 days, 18/05/2008, time left 3:05", rewritten in place at most
// ten times a second, the time left estimated from the rate so far.
class ProgressLine {
 public:
  ProgressLine(std::ostream& err, bool shown) : err_(err), shown_(shown) {}

  UpdateProgress Callback() {
    if (!shown_) return {};
    return [this](int done, int total, const CivilDate& day) {
      const auto now = SteadyClock::now();
      if (done < total && now - lastShown_ < std::chrono::milliseconds(100)) return;
      lastShown_ = now;
      const double elapsed = std::chrono::duration<double>(now - started_).count();
      err_ << "\r"
           << TrFormat("{1}/{2} days, {3}, time left {4}",
                       {std::to_string(done), std::to_string(total), FormatShortDate(day),
                        Duration(elapsed / done * (total - done))})
           << "   " << std::flush;
      used_ = true;
    };
  }
  // Ends the line, if one was shown.
  void End() {
    if (used_) err_ << "\n";
  }

 private:
  std::ostream& err_;
  bool shown_;
  bool used_ = false;
  SteadyClock::time_point started_ = SteadyClock::now();
  SteadyClock::time_point lastShown_{};
};

const char* SignalName(int number) {
  return number == SIGINT ? "SIGINT" : number == SIGTERM ? "SIGTERM" : Tr("a signal");
}

// "12 day(s) added, up to 12/01/2005, and saved" or "no day added".
std::string HowFar(int32_t added, MemorySheet& results) {
  if (added <= 0) return Tr("no day added");
  const int32_t lastRow = results.LastRowAtOrAbove(kMaxRows, 1);
  return TrFormat("{1} day(s) added, up to {2}, and saved",
                  {std::to_string(added), FormatShortDate(CivilFromSerial(ToDate(results.Get(lastRow, 1))))});
}

}  // namespace

int UpdateWorkbook(xlsx::XlsxWorkbook& workbook, Session session, const UpdateSettings& settings, std::ostream& err) {
  const auto results = workbook.book()->SheetByCodeName(terms::kResultsCodeName);
  const int32_t before = results->LastRowAtOrAbove(kMaxRows, 1);
  // Kept through the save: a signal after the download changes nothing.
  const StopSignals signals;
  ProgressLine progress(err, settings.progress);
  UpdateOutcome outcome;
  std::optional<std::string> failure;
  try {
    RetryingFetchers retrying(settings.waiter ? *settings.waiter : RealTimeWaiter());
    ConcurrentPageSource source(
        settings.connections,
        [&retrying](const std::atomic<bool>& cancel) {
          return retrying.Make(std::make_unique<CurlPageFetcher>(60, &cancel), &cancel);
        },
        [] { return StopSignals::received() != 0; });
    outcome = UpdateResultsInParts(session, source, settings.clock, settings.site, progress.Callback());
  } catch (const std::bad_alloc&) {
    failure = Tr("out of memory");
  } catch (const std::exception& e) {
    failure = e.what();
  }
  progress.End();
  const int32_t added = results->LastRowAtOrAbove(kMaxRows, 1) - before;
  const bool finished = !failure && !outcome.stopped;
  // Said before the save, so a save that fails too does not hide it.
  if (failure) err << "pradima: " << *failure << "\n";
  if (finished || added > 0) workbook.Save();
  if (finished) {
    err << TrFormat("{1} day(s) added", {std::to_string(added)}) << "\n";
    return 0;
  }
  if (failure) {
    if (added > 0) err << "pradima: " << TrFormat("{1}; run update again to continue", {HowFar(added, *results)}) << "\n";
    return 1;
  }
  const int signal = StopSignals::received();
  err << "pradima: "
      << TrFormat("stopped by {1}: {2}; run update again to continue", {SignalName(signal), HowFar(added, *results)})
      << "\n";
  return 128 + signal;
}

int UpdateCommand(const Options& options, const ToolContext& context) {
  XlsxWorkbook workbook = OpenBook(options.book, context.err, true, {&kResultsSheet, &kSettingsSheet});
  RequireLayout(*workbook.book(), options.book, {&kResultsSheet, &kSettingsSheet},
                {terms::kStationTable, terms::kPositionTables[0], terms::kPositionTables[1], terms::kPositionTables[2],
                 terms::kPositionTables[3]});
  return UpdateWorkbook(workbook, Bind(workbook.book()),
                        {context.resultsSite, context.clock, options.connections, context.progressOnTerminal},
                        context.err);
}

}  // namespace pradima::cli
