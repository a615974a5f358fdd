#pragma once
#include <windows.h>

#include <string>

namespace pradima::win {

// Raises Error with the HRESULT and, where the system has one, its message,
// after `what` ("reading a block: The parameter is incorrect.").
void ThrowIfFailed(HRESULT hr, const std::string& what);

}  // namespace pradima::win
