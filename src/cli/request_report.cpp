#include "cli/request_report.h"

#include <iomanip>
#include <ostream>

#include "cli/report_format.h"
#include "cli/translate.h"

namespace pradima::cli {

void PrintRequestLine(const char* label, const std::string& value, std::ostream& out) {
  out << std::left << std::setw(8) << Tr(label) << " " << value << "\n";
}

void PrintRequestLines(const DrawRequest& request, std::ostream& out) {
  const auto end = [](const std::optional<CivilDate>& date) { return date ? FormatShortDate(*date) : "-"; };
  PrintRequestLine("period", TrFormat("{1} to {2}", {end(request.from), end(request.to)}), out);
  PrintRequestLine("region", request.region, out);
  PrintRequestLine("weekday", request.weekday, out);
  PrintRequestLine("type", request.type, out);
  if (!request.station.empty()) PrintRequestLine("station", request.station, out);
}

std::string RequestJsonMembers(const DrawRequest& request) {
  const auto end = [](const std::optional<CivilDate>& d) { return d ? JsonString(IsoDate(*d)) : std::string("null"); };
  return "\"from\": " + end(request.from) + ", \"to\": " + end(request.to) +
         ", \"region\": " + JsonString(request.region) + ", \"weekday\": " + JsonString(request.weekday) +
         ", \"type\": " + JsonString(request.type) +
         ", \"station\": " + (request.station.empty() ? std::string("null") : JsonString(request.station));
}

}  // namespace pradima::cli
