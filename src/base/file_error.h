#pragma once
#include <string>
#include <system_error>

#include "base/error.h"

namespace pradima {

// A workbook file that cannot be read or written as asked: a run-time error
// whose description names the file or part and what is wrong with it.
[[noreturn]] inline void Fail(const std::string& what) { throw Error(VbError::ApplicationDefined, what); }

// What the system says of an error number ("Permission denied").
inline std::string SystemReason(int error) { return std::generic_category().message(error); }

}  // namespace pradima
