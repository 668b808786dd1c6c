// QtPlatform: timers and the clipboard.
//
//  [x] one QTimer per timer id, ticking on the user-interface thread
//  [x] interval in milliseconds; disabled is stopped; setting one again starts it anew
//  [x] the clipboard's text
#include <QClipboard>
#include <QGuiApplication>

#include "backends/qt/qt_platform.h"
#include "backends/qt/qt_state.h"
#include "backends/qt/qt_text.h"

namespace tasklane::qt {

void QtPlatform::SetTimer(int timerId, int intervalMs, bool enabled) {
  std::unique_ptr<QTimer>& timer = state_->timers[timerId];
  if (!timer) {
    timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [state = state_.get(), timerId] {
      if (state->events) state->events->TimerTick(timerId);
    });
  }
  timer->setInterval(std::max(intervalMs, 0));
  if (enabled) timer->start();
  else timer->stop();
}

std::u16string QtClipboard::Text() { return CoreString(QGuiApplication::clipboard()->text()); }

void QtClipboard::SetText(std::u16string_view text) { QGuiApplication::clipboard()->setText(QtString(text)); }

platform::Clipboard& QtPlatform::ClipboardService() { return state_->clipboard; }

}  // namespace tasklane::qt
