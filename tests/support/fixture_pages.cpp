#include "support/fixture_pages.h"

#include <cstdint>

#include "terms/station_schedule.h"

namespace pradima::testing {
namespace {

constexpr int kNorthDigits[27] = {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 2, 2, 2, 2};
// eighth, seventh, 3 sixth, fifth, 7 fourth, 2 third, second, first, special
constexpr int kStationDigits[18] = {2, 3, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 6};
constexpr const char* kStationClasses[18] = {"giai8", "giai7", "giai6", "giai6", "giai6", "giai5",
                                             "giai4", "giai4", "giai4", "giai4", "giai4", "giai4",
                                             "giai4", "giai3", "giai3", "giai2", "giai1", "giaidb"};

std::string Wrap(const std::string& table) {
  return "<html><head><meta charset=\"utf-8\"><title>KQXS</title></head><body>\n" + table + "</body></html>\n";
}

}  // namespace

std::string FixturePrize(const CivilDate& day, char region, int station, int prize) {
  // One splitmix64 step over the prize's place.
  uint64_t value = static_cast<uint64_t>(DaysFromCivil(day)) * 1000003u + static_cast<uint64_t>(region) * 7919u +
                   static_cast<uint64_t>(station) * 131u + static_cast<uint64_t>(prize) + 0x9E3779B97F4A7C15ull;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
  value ^= value >> 31;
  const int digits = region == '2' ? kNorthDigits[prize - 1] : kStationDigits[prize - 1];
  std::string text(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value /= 10) text[static_cast<size_t>(i)] = static_cast<char>('0' + value % 10);
  return text;
}

std::string StationPage(const CivilDate& day, char region, int stations, const PageOptions& options) {
  std::string table = "<table class=\"bkqmiennam\"><tr>";
  for (int station = 1; station <= stations; ++station) {
    table += "<td><table class=\"rightcl\"><tr><td class=\"tinh\"><a href=\"/t\">Tỉnh " + std::to_string(station) +
             "</a></td></tr><tr><td class=\"matinh\">M" + std::to_string(station) + "</td></tr>";
    for (int prize = 1; prize <= 18; ++prize) {
      std::string cls = kStationClasses[prize - 1];
      if (prize == 1 && options.omitStartMarker) cls = "giai-8";
      table += "<tr><td class=\"" + cls + "\"><div>" + FixturePrize(day, region, station, prize) + "</div></td></tr>";
    }
    table += "</table></td>";
  }
  if (!options.omitEndMarker) table += "</tr></table></tr></table>";
  return Wrap(table);
}

std::string StandardPage(const CivilDate& day, char region, const PageOptions& options) {
  if (region == '2') {
    std::string table = "<table class=\"bkqmienbac\"><tr><td>Giải ĐB</td>";
    table += options.omitStartMarker ? "<td class=\"giai-db\">" : "<td class=\"giaidb\">";
    for (int prize = 1; prize <= 27; ++prize) {
      if (prize > 1) table += "</td></tr>\n<tr><td>Giải</td><td class=\"giai\">";
      table += "<div>" + FixturePrize(day, '2', 1, prize) + "</div>";
    }
    table += "</td></tr>";
    if (!options.omitEndMarker) table += "</table></tr></table>";
    table += "\n<div class=\"loto\">loto</div>";
    return Wrap(table);
  }
  const int weekday = WeekdayOf(SerialFromCivil(day));
  const int stations = region == '3' ? terms::CentralStationCount(weekday) : terms::SouthStationCount(weekday);
  return StationPage(day, region, stations, options);
}

}  // namespace pradima::testing
