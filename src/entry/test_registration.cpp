// Only in the test build of the DLL: tests hand it stand-ins for the system
// calls of registration; nullptr gives the system's back.
#include "entry/registration_calls.h"

extern "C" void STDAPICALLTYPE PradimaSetTestRegistrationCalls(const pradima::entry::RegistrationCalls* calls) {
  pradima::entry::SetRegistrationCalls(calls);
}
