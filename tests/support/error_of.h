#pragma once
// The error a call raises, as its number and description; {0, ""} when it returns.
#include <functional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

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

// Runs the call, which must fail with error `number`, its description holding `said` (beginning with it when
// `leading`).
inline void ExpectError(const std::function<void()>& call, int number, const std::string& said, bool leading = false) {
  const auto [raised, what] = ErrorOf(call);
  EXPECT_EQ(raised, number) << what;
  EXPECT_TRUE(leading ? what.starts_with(said) : what.find(said) != std::string::npos) << what << " / " << said;
}

}  // namespace pradima::testing
