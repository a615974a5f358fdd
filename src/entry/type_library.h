#pragma once
// The declarations generated from the type library. Their C++ form gives
// the text default of an optional BSTR parameter as a wide literal, which
// the compiler would refuse as a write to a string constant.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wwrite-strings"
#include "pradima_h.h"
#pragma GCC diagnostic pop
