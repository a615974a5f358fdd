#include "cli/request_report.h"

#include <ostream>

#include "cli/command_line.h"
#include "cli/report_format.h"
#include "cli/translate.h"

namespace pradima::cli {
void PrintRequestLines(const DrawRequest& request, std::ostream& out) {
  const auto end = [](const std::optional<CivilDate>& date) { return date ? FormatShortDate(*date) : "-"; };
  out << Heading("period") << TrFormat("{1} to {2}", {end(request.from), end(request.to)}) << "\n"
      << Heading("region") << request.region << "\n"
      << Heading("weekday") << request.weekday << "\n"
      << Heading("type") << request.type << "\n";
  if (request.prizes != terms::Prizes::All) out << Heading("prizes") << PrizesName(request.prizes) << "\n";
  PrintStationLine(request.station, out);
}

std::string RequestJson(const DrawRequest& request, const std::string& more) {
  const auto end = [](const std::optional<CivilDate>& d) { return d ? JsonString(IsoDate(*d)) : std::string("null"); };
  return "{\"from\": " + end(request.from) + ", \"to\": " + end(request.to) +
         ", \"region\": " + JsonString(request.region) + ", \"weekday\": " + JsonString(request.weekday) +
         ", \"type\": " + JsonString(request.type) + ", \"prizes\": " + JsonString(PrizesName(request.prizes)) +
         ", \"top\": " + std::to_string(request.top) + ", \"station\": " + StationJson(request.station) + more + "}";
}

std::string StationJson(const std::string& station) { return station.empty() ? "null" : JsonString(station); }

void PrintRequestLine(const char* label, const std::string& value, std::ostream& out) {
  out << Heading(label) << value << "\n";
}

void PrintStationLine(const std::string& station, std::ostream& out) {
  if (!station.empty()) out << Heading("station") << station << "\n";
}

std::string RegionOfTitle(const std::string& region, const std::string& station) {
  return station.empty() ? region : region + " · " + station;
}

}  // namespace pradima::cli
