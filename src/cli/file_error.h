#pragma once
#include <string>

#include "base/error.h"

namespace pradima::cli {

// A workbook file that cannot be read or written as asked: a run-time error
// whose description names the file or part and what is wrong with it.
[[noreturn]] inline void Fail(const std::string& what) { throw Error(VbError::ApplicationDefined, what); }

}  // namespace pradima::cli
