#pragma once
#include "base/clock.h"
#include "selection/count_lo.h"
#include "session/session.h"
#include "session/value.h"
#include "text/message.h"

namespace pradima {

// One statistics run: reads the request on the control sheet (period B1:B2,
// region B3, number set B4, weekday B5, number type B6), tidies a custom
// list, counts the lô of the qualifying draws, and writes beside each number
// listed from F3 down the days it appeared (G) and its appearances (H), and
// the day count into F1. Screen updating is off for the run and back on
// after it, whether it succeeds or fails. `prizes` chooses the prizes counted.
// The run works on its own copy of the session (see Session). Returns the
// counts of every number of the period, listed or not, and the day count.
LoCountResult RunStatistics(Session session, MessageSink& messages, const Clock& clock,
                            terms::Prizes prizes = terms::Prizes::All);

// Writes the counts of a run into the control sheet as a run does: beside
// each number listed from F3 down the days it appeared (G) and its
// appearances (H), and the day count into F1.
void WriteCounts(Worksheet& control, const LoCountResult& result);

// Copies the counts of the number each row of column 1 selects into columns
// 2 and 3. A listed value that selects no row 0 to 999, a blank one
// included, gets blank counts.
void FillCounts(Block& listBlock, const LoCounts& counts);

}  // namespace pradima
