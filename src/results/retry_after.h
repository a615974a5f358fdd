#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace pradima {

// An HTTP date in any of the three forms a client must accept, as seconds
// since 1 January 1970 UTC: "Sun, 06 Nov 1994 08:49:37 GMT", the obsolete
// "Sunday, 06-Nov-94 08:49:37 GMT" (a two-digit year below 70 is taken as
// 20xx, else 19xx) and "Sun Nov  6 08:49:37 1994". None for anything else.
std::optional<int64_t> ParseHttpDate(std::string_view text);

// The wait a Retry-After value asks for: a number of seconds, or an HTTP
// date counted from `nowUtc` (seconds since 1970; a date already past asks
// for no wait). None when the value is neither.
std::optional<std::chrono::seconds> RetryAfterWait(std::string_view value, int64_t nowUtc);

}  // namespace pradima
