#pragma once
// A run that writes to the workbook does so with the screen frozen, and the
// screen comes back on whether the run succeeds or fails.
#include <type_traits>
#include <utility>

#include "session/host.h"

namespace pradima {

// Calls `run` with screen updating off and turns it back on after, before
// any error goes to the caller; returns what `run` returns.
template <typename Run>
auto WithScreenUpdatingOff(Application& application, Run&& run) {
  application.SetScreenUpdating(false);
  try {
    if constexpr (std::is_void_v<decltype(run())>) {
      std::forward<Run>(run)();
      application.SetScreenUpdating(true);
    } else {
      auto result = std::forward<Run>(run)();
      application.SetScreenUpdating(true);
      return result;
    }
  } catch (...) {
    application.SetScreenUpdating(true);
    throw;
  }
}

}  // namespace pradima
