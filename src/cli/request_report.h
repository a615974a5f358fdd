#pragma once
// The request a report of the draw days ran, printed the same way by every
// command that reads them: above its table, and as the "request" of its JSON.
#include <iosfwd>
#include <string>

#include "cli/draw_request.h"

namespace pradima::cli {

// One line each for the period, region, weekday and number type, then the
// prizes and the station only when the request chose them.
void PrintRequestLines(const DrawRequest& request, std::ostream& out);
// One more line of a request: its label, translated and padded as those, then the value.
void PrintRequestLine(const char* label, const std::string& value, std::ostream& out);

// The JSON object of the request: "from" and "to" (null when none),
// "region", "weekday", "type", "prizes", "top", and "station" (null for
// every station of the region), then `more` (members of a command's own,
// each led by ", ").
std::string RequestJson(const DrawRequest& request, const std::string& more = "");

// The station of a request as JSON: its name, or null for every station.
std::string StationJson(const std::string& station);
// The table line that names the request's station; nothing for every station.
void PrintStationLine(const std::string& station, std::ostream& out);
// The region as a chart's title names it: "Miền Trung · Khánh Hòa" for one station.
std::string RegionOfTitle(const std::string& region, const std::string& station);

}  // namespace pradima::cli
