#pragma once
#include "base/clock.h"

namespace pradima::entry {

// The clock the DLL's operations read: the computer's, unless the test
// build of the DLL has been handed another one.
const Clock& EntryClock();
void SetEntryClock(Clock clock);

}  // namespace pradima::entry
