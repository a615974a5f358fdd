#pragma once
#include <windows.h>
#include <oaidl.h>

#include "session/session.h"

namespace pradima::entry {

// Binds the application and the workbook into the thread's session, starts
// the session and brings the results sheet up to date.
void Sup(Session& session, IDispatch* application, IDispatch* workbook);
// Binds the sheets, switches cell dragging off and sets the short date format.
void StartSession(Session& session);
// When an application is bound: switches cell dragging back on and drops
// every reference.
void EndSession(Session& session);

}  // namespace pradima::entry
