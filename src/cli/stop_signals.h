#pragma once
#include <signal.h>

namespace pradima::cli {

// While one lives, an interrupt (Ctrl-C, SIGINT) or a termination request
// (SIGTERM) does not end the process: it is noted, so that a long run can
// stop where nothing is lost. The handlers in place before come back when
// it goes. One at a time.
class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // The first of the signals that arrived, or 0. Safe from any thread.
  static int received();

 private:
  struct sigaction previousInterrupt_ {};
  struct sigaction previousTerminate_ {};
};

// For the life of the tool: an interrupt, a termination request or a hang-up
// that no StopSignals holds removes the temporary file of a save in progress
// (see RemoveTemporaryInProgress), then ends the process as the signal would
// have. A signal the process was started to ignore stays ignored.
void RemoveTemporaryOnSignals();

}  // namespace pradima::cli
