#include "entry/clock_source.h"

namespace pradima::entry {
namespace {

Clock& Slot() {
  static Clock clock = SystemLocalTime;
  return clock;
}

}  // namespace

const Clock& EntryClock() { return Slot(); }
void SetEntryClock(Clock clock) { Slot() = clock ? std::move(clock) : Clock(SystemLocalTime); }

}  // namespace pradima::entry
