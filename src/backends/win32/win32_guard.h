// No failure may unwind through a window procedure: on x64 Windows that ends the process, and
// every edit with it. Each entry from the window system runs inside Guarded, which gives a
// failure no routine of the core caught the default handling: its own message in a box, and
// the program goes on.
#pragma once

#include <windows.h>

#include <exception>

namespace tasklane::win32 {

// One report at a time: a timer that fails on every tick while its report is open would
// otherwise stack a box per tick.
struct FailureReports {
  bool open = false;
};

void ReportFailure(FailureReports& reports, HWND owner, const std::exception_ptr& failure);

template <typename Result, typename Body>
Result Guarded(FailureReports& reports, HWND owner, Result onFailure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    ReportFailure(reports, owner, std::current_exception());
    return onFailure;
  }
}

}  // namespace tasklane::win32
