#pragma once
#include <string>

#include "session/session.h"
#include "text/message.h"

namespace pradima {

enum class CustomListOutcome {
  NotCustom,  // not the custom set, or a number type of neither mode: counts cleared only
  Saved,      // the list was tidied, saved on the settings sheet and written back
  Rejected,   // a message was shown; nothing was changed
};

// Checks and tidies the custom number list typed in F3 down on the control
// sheet when B4 names the custom set: "2 Con" splits entries into two-digit
// numbers without repeats and saves them in P2 down of the settings sheet,
// "3 Con" saves the entries unchanged in AD2 down; both write the list back
// from F3. A malformed entry is reported through `messages` and changes
// nothing. Unless it ended with a message, G3:H10002 are cleared.
CustomListOutcome CleanCustomList(Session session, MessageSink& messages, const std::string& numberSet,
                                  const std::string& numberType);

}  // namespace pradima
