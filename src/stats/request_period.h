#pragma once
#include "base/clock.h"
#include "base/date.h"
#include "session/session.h"

namespace pradima {

struct RequestPeriod {
  DateSerial start = 0;
  DateSerial end = 0;
};

// The period set on the control sheet (B1, B2). A period reaching past
// today ends at the latest stored draw; a results sheet without data rows
// has none, and the end stays as read (nothing is counted anyway).
RequestPeriod ReadRequestPeriod(const Session& session, const Clock& clock);

// The caption of a day count, followed by its decimal digits (Tổng số ngày thống kê).
inline constexpr const char* kDayCountCaptionTelex = " * Toorng soos ngafy thoosng kee: ";

}  // namespace pradima
