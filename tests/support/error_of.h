#pragma once
// The error a call raises, as its number and description; {0, ""} when it returns.
#include <functional>
#include <string>
#include <utility>

#include "base/error.h"

namespace pradima::testing {

inline std::pair<int, std::string> ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Error& e) {
    return {e.number(), e.what()};
  }
  return {0, ""};
}

}  // namespace pradima::testing
