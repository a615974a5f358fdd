#pragma once
#include <functional>
#include <string_view>

#include "base/clock.h"
#include "base/date.h"
#include "results/day_rows.h"
#include "results/page_fetcher.h"
#include "results/page_source.h"
#include "session/session.h"

namespace pradima {

// Called after each day is fetched: days done, days to do, the day.
using UpdateProgress = std::function<void(int done, int total, const CivilDate& day)>;

// Appends one row per missing day, up to today from 18:41 or yesterday
// before, to the results sheet: the North, Central and South pages of each
// day fetched from site (scheme, host and optional port) in date order, and
// every row written in one block at the end, or nothing at all when any
// page fails. Works on its own copy of the session (see Session).
void UpdateResults(Session session, PageFetcher& fetcher, const Clock& clock, std::string_view site,
                   const UpdateProgress& progress = {});

// How far an update in parts got.
struct UpdateOutcome {
  int32_t daysAdded = 0;
  bool stopped = false;  // the source stopped the run before its last day
};

// Appends the missing days as UpdateResults does, keeping every day that
// is complete: the rows go to the results sheet in date order, in blocks
// of at most `daysPerWrite` days, so a long run holds only one block of
// rows besides the sheet. When a page fails, the days before its day are
// written first and then its error is raised, naming the region and day;
// when the source stops the run, the days complete so far are written.
// The pages come from `source`, which may fetch them ahead.
UpdateOutcome UpdateResultsInParts(Session session, PageSource& source, const Clock& clock, std::string_view site,
                                   const UpdateProgress& progress = {}, int32_t daysPerWrite = 100);

}  // namespace pradima
