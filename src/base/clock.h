#pragma once
#include <functional>

#include "base/date.h"

namespace pradima {

// The computer's local date and time; handed to the operations that need
// it so tests can set it.
using Clock = std::function<LocalDateTime()>;
LocalDateTime SystemLocalTime();

}  // namespace pradima
