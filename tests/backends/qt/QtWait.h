// Lets Qt's events run until a condition holds, for tests that wait on the window system.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <functional>

namespace tasklane::qt {

// False when 30 seconds passed without the condition coming true.
inline bool WaitFor(const std::function<bool()>& condition) {
  const QDeadlineTimer deadline(30000);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

}  // namespace tasklane::qt
