#pragma once
// The one place where the engine's errors become COM failures: an HRESULT
// with error information, so a macro's Err.Number and Err.Description say
// what went wrong. No C++ exception leaves a COM method.
#include <windows.h>
#include <oaidl.h>

#include <exception>
#include <string>

namespace pradima::entry {

// The HRESULT of the current exception, with error information set for the
// interface (and EXCEPINFO filled when given). Call only inside a catch.
HRESULT ReportCurrentException(REFIID iid, EXCEPINFO* exception = nullptr);

template <typename Action>
HRESULT Guarded(REFIID iid, EXCEPINFO* exception, Action&& action) noexcept {
  try {
    action();
    return S_OK;
  } catch (...) {
    return ReportCurrentException(iid, exception);
  }
}

}  // namespace pradima::entry
