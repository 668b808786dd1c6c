// The end of the session and the termination signals, turned into the window's close.
#pragma once

#include <memory>

class QSocketNotifier;

namespace tasklane::qt {

class QtWindow;

// One per process: it owns the handlers of SIGTERM, SIGINT and SIGHUP while it lives.
class QtSession {
 public:
  explicit QtSession(QtWindow& window);
  ~QtSession();
  QtSession(const QtSession&) = delete;
  QtSession& operator=(const QtSession&) = delete;

 private:
  void SignalArrived();

  QtWindow& window_;
  int pipe_[2] = {-1, -1};  // the handler writes one byte to [1]; the loop reads [0]
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tasklane::qt
