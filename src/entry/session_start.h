#pragma once
#include <windows.h>
#include <oaidl.h>

#include "base/clock.h"
#include "session/session.h"

namespace pradima::entry {

// Binds the application and the workbook into the thread's shared session,
// starts the session and brings the results sheet up to date. The update
// runs on the objects this call bound: a nested Sup fired by an event macro
// rebinds the shared session for later calls only.
void Sup(Session& shared, IDispatch* application, IDispatch* workbook, const Clock& clock);
// Binds the sheets into the shared session, switches cell dragging off and
// sets the short date format. Returns the copy of the session the calling
// Sup goes on with.
Session StartSession(Session& shared);
// When an application is bound: switches cell dragging back on and drops
// every reference of the shared session.
void EndSession(Session& shared);

}  // namespace pradima::entry
