// Only in the test build of the DLL: tests hand it the local date and time
// it reads, as the core's tests hand a clock to the operations. A year of 0
// gives the computer's clock back.
#include <windows.h>

#include "entry/clock_source.h"

extern "C" void STDAPICALLTYPE PradimaSetTestClock(int year, int month, int day, int hour, int minute) {
  if (year == 0) {
    pradima::entry::SetEntryClock(nullptr);
    return;
  }
  const pradima::LocalDateTime moment{{year, month, day}, hour, minute, 0};
  pradima::entry::SetEntryClock([moment] { return moment; });
}
