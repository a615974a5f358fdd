#include "terms/station_schedule.h"

#include "text/telex.h"

namespace pradima::terms {
namespace {

constexpr const char* kStations[7][7] = {
    {"Khasnh Hofa", "Kon Tum", "Thuwfa Thieen Huees", "Tieefn Giang", "Kieen Giang", "DDaf Lajt", nullptr},
    {"Thuwfa Thieen Huees", "Phus Yeen", nullptr, "TP. HCM", "DDoofng Thasp", "Caf Mau", nullptr},
    {"DDawsk Lawsk", "Quarng Nam", nullptr, "Beesn Tre", "Vuxng Tafu", "Bajc Lieeu", nullptr},
    {"DDaf Nawxng", "Khasnh Hofa", nullptr, "DDoofng Nai", "Caafn Thow", "Sosc Trawng", nullptr},
    {"Bifnh DDijnh", "Quarng Trij", "Quarng Bifnh", "Taay Ninh", "An Giang", "Bifnh Thuaajn", nullptr},
    {"Gia Lai", "Ninh Thuaajn", nullptr, "Vixnh Long", "Bifnh Duwowng", "Traf Vinh", nullptr},
    {"DDaf Nawxng", "Quarng Ngaxi", "DDawsk Noong", "TP. HCM", "Long An", "Bifnh Phuwowsc", "Haaju Giang"},
};

int StationsIn(int weekday, int firstBlock, int lastBlock) {
  int count = 0;
  for (int b = firstBlock; b <= lastBlock; ++b) count += StationTelexName(weekday, b) != nullptr;
  return count;
}

}  // namespace

const char* StationTelexName(int weekday, int block) { return kStations[weekday - 1][block - 1]; }

std::string StationName(int weekday, int block) {
  const char* name = StationTelexName(weekday, block);
  return name ? TelexToUnicode(name) : std::string();
}

int CentralStationCount(int weekday) { return StationsIn(weekday, 1, 3); }
int SouthStationCount(int weekday) { return StationsIn(weekday, 4, 7); }

}  // namespace pradima::terms
