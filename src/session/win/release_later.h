#pragma once
#include "base/win/com_owners.h"

namespace pradima::win {

// Frees a block the host handed over on a thread of its own: freeing the
// texts of a results sheet is most of the time a count spends on a block,
// and the caller need not wait for it. Only a large block of plain values goes
// that way (texts, numbers, dates, truth values, errors, empty cells); one
// that holds an object, a small one, or anything else, is freed here on the caller's
// thread, as COM asks of objects. The thread keeps this module loaded until
// it is done, so the DLL is never unloaded under it.
void ReleaseLater(UniqueVariant value) noexcept;

// Blocks handed to a thread so far, and those of them not freed yet.
int ReleasesOnThreads() noexcept;
int PendingReleases() noexcept;

}  // namespace pradima::win
