#pragma once
// The request at the top of the reports of the commands that read the draw days.
#include <iosfwd>
#include <string>

#include "cli/draw_request.h"

namespace pradima::cli {

// One line of the request: its label, translated and padded, then the value.
void PrintRequestLine(const char* label, const std::string& value, std::ostream& out);

// The period, region, weekday and number type as ran, one a line, and the station when one was chosen.
void PrintRequestLines(const DrawRequest& request, std::ostream& out);

// The same as JSON members without the braces: "from", "to", "region",
// "weekday", "type", and "station" (null for every station of the region).
std::string RequestJsonMembers(const DrawRequest& request);

}  // namespace pradima::cli
