#pragma once
#include <string>
#include <vector>

#include "session/session.h"
#include "session/value.h"

namespace pradima {

// Lays out afresh, from F3 down on the control sheet, the numbers of the
// set named in B4 as two-digit ("2 Con") or three-digit ("3 Con") numbers:
// the ten double numbers, every number ("Full"), or the custom list saved on
// the settings sheet. Nothing is cleared before the list is built. Works on
// its own copy of the session (see Session).
void ApplyNumberType(Session session, const std::string& loaiSo);

// "07" of two digits, "007" of three.
std::string NumberText(int32_t number, int digits);

// A number written with at least `width` digits ("00": width 2); a value
// that is not a whole number keeps its text form.
std::string FormatListEntry(const Value& value, int width);

}  // namespace pradima
