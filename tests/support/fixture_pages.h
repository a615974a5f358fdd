#pragma once
// Deterministic results pages laid out as the real site lays them out, as
// far as the engine relies on it: the North page has its marker cell then
// 27 prizes each in <div>...</div>; a Central or South page lists its
// stations one after another, each with a province cell, a code cell and
// 18 prizes from the eighth prize up, the first eighth-prize cell being
// <td class="giai8">.
#include <string>

#include "base/date.h"

namespace pradima::testing {

struct PageOptions {
  bool omitStartMarker = false;
  bool omitEndMarker = false;
};

// The prize text (digits, leading zeros kept) of prize `prize` (page order,
// from 1) of station `station` (from 1; 1 for the North) of a region page.
std::string FixturePrize(const CivilDate& day, char region, int station, int prize);

std::string StationPage(const CivilDate& day, char region, int stations, const PageOptions& options = {});
// The page the fixture site serves for a region and day: the schedule's
// station count for Central ("3") and South ("1").
std::string StandardPage(const CivilDate& day, char region, const PageOptions& options = {});

}  // namespace pradima::testing
