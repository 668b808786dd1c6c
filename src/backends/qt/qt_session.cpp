// The end of the session and termination signals run the window's close query, so that the
// list is saved once and the program ends as it does when the user closes it.
//
//  [x] SIGTERM, SIGINT, SIGHUP: the handler only writes a byte to a socket pair; the loop
//      reads it through a QSocketNotifier and closes the window there
//  [x] the session manager's request to save (commitDataRequest) closes the window
//  [x] a quit from anywhere else (aboutToQuit) closes a window still open
//  [x] the window's close runs the close query only once, so nothing is saved twice
#include "backends/qt/qt_session.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>

#include "backends/qt/qt_window.h"

namespace tasklane::qt {

namespace {

constexpr int endingSignals[] = {SIGTERM, SIGINT, SIGHUP};
volatile sig_atomic_t signalWriteEnd = -1;

// Only what is safe in a signal handler: one write to a non-blocking socket. A full socket
// already holds a byte that wakes the loop.
extern "C" void OnEndingSignal(int) {
  const int savedErrno = errno;
  const char byte = 1;
  if (signalWriteEnd >= 0 && ::write(signalWriteEnd, &byte, 1) < 0) {
  }
  errno = savedErrno;
}

}  // namespace

QtSession::QtSession(QtWindow& window) : window_(window) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pipe_) == 0) {
    signalWriteEnd = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { SignalArrived(); });
    struct sigaction action {};
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : endingSignals) ::sigaction(signal, &action, nullptr);
  }
  if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    QObject::connect(application, &QGuiApplication::commitDataRequest, &window_,
                     [this](QSessionManager&) { window_.RequestClose(); });
    QObject::connect(application, &QCoreApplication::aboutToQuit, &window_, [this] {
      if (!window_.Closed()) window_.RequestClose();
    });
  }
}

QtSession::~QtSession() {
  if (pipe_[0] < 0) return;
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (const int signal : endingSignals) ::sigaction(signal, &action, nullptr);
  signalWriteEnd = -1;
  notifier_.reset();
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

void QtSession::SignalArrived() {
  char bytes[64];
  while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
  }
  window_.RequestClose();
}

}  // namespace tasklane::qt
