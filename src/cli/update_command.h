#pragma once
#include <iosfwd>
#include <string>

#include "base/clock.h"
#include "cli/command_line.h"
#include "results/retrying_fetcher.h"
#include "xlsx/xlsx_workbook.h"
#include "session/session.h"

namespace pradima::cli {

struct UpdateSettings {
  std::string site;
  Clock clock;
  int connections = kDefaultConnections;
  bool progress = false;  // one line on `err` kept up to date, for a terminal
  Waiter* waiter = nullptr;  // the waits before a request is asked again; none: real time
};

// Appends the missing days to the workbook's results sheet, fetching their
// pages over several connections, and saves the workbook. A request that a
// server error or too many requests fails is asked again a few times, up
// to a minute. A request that fails, or SIGINT or SIGTERM during the download, ends it early: every day
// complete before that point is saved, in order, and the message on `err`
// says how far it got, so the next update continues from there. Returns the
// exit code: 0, 1 for a failure, 128 plus the signal's number for a stop.
int UpdateWorkbook(xlsx::XlsxWorkbook& workbook, Session session, const UpdateSettings& settings, std::ostream& err);

}  // namespace pradima::cli
