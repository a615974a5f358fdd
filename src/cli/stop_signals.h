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

}  // namespace pradima::cli
