#pragma once
// The weekly schedule of stations: which station draws in which block on
// which weekday. The workbook keeps it in its settings table BangDai; the
// standard workbook and the tests are built from this one copy.
#include <string>

namespace pradima::terms {

// Station names in Telex by weekday (Sunday = 1) and block (1 to 7); null
// where the block has no station that day.
const char* StationTelexName(int weekday, int block);
// The same name in Unicode, or "" where there is none.
std::string StationName(int weekday, int block);
// How many stations draw in the Central (blocks 1 to 3) or South (4 to 7) region.
int CentralStationCount(int weekday);
int SouthStationCount(int weekday);

}  // namespace pradima::terms
