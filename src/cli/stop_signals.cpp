#include "cli/stop_signals.h"

#include <atomic>
#include <cerrno>
#include <system_error>

#include "base/files.h"
#include "cli/translate.h"

namespace pradima::cli {
namespace {

// Lock-free, so a signal handler may set it.
std::atomic<int> receivedSignal = 0;
static_assert(std::atomic<int>::is_always_lock_free);

void NoteSignal(int number) {
  int none = 0;
  receivedSignal.compare_exchange_strong(none, number);
}

// The handler does only what is safe in one: it unlinks the name recorded
// before the temporary was made, then puts the signal's own action back and
// raises it again, which ends the process once the handler returns, with
// the status a shell expects of that signal.
void RemoveTemporaryAndEnd(int number) {
  RemoveTemporaryInProgress();
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  sigaction(number, &standard, nullptr);
  raise(number);
}

}  // namespace

void RemoveTemporaryOnSignals() {
  struct sigaction action {};
  action.sa_handler = RemoveTemporaryAndEnd;
  sigemptyset(&action.sa_mask);
  for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction previous {};
    if (sigaction(number, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
      sigaction(number, &action, nullptr);
  }
}

StopSignals::StopSignals() {
  receivedSignal = 0;
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted system calls carry on: the run looks at the signal itself.
  action.sa_flags = SA_RESTART;
  if (sigaction(SIGINT, &action, &previousInterrupt_) != 0)
    throw std::system_error(errno, std::generic_category(), Tr("cannot catch SIGINT"));
  if (sigaction(SIGTERM, &action, &previousTerminate_) != 0) {
    const int error = errno;
    sigaction(SIGINT, &previousInterrupt_, nullptr);
    throw std::system_error(error, std::generic_category(), Tr("cannot catch SIGTERM"));
  }
  // A signal the process was started to ignore (nohup, a background job of
  // a script) stays ignored.
  if (previousInterrupt_.sa_handler == SIG_IGN) sigaction(SIGINT, &previousInterrupt_, nullptr);
  if (previousTerminate_.sa_handler == SIG_IGN) sigaction(SIGTERM, &previousTerminate_, nullptr);
}

StopSignals::~StopSignals() {
  sigaction(SIGINT, &previousInterrupt_, nullptr);
  sigaction(SIGTERM, &previousTerminate_, nullptr);
}

int StopSignals::received() { return receivedSignal.load(); }

}  // namespace pradima::cli
