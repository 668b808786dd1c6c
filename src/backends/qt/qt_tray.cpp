// QtPlatform: the notification-area icon.
//
//  [x] the tray icon with its tip for the whole run; no menu of its own
//  [x] a left click tells the core; the context request asks the core for its menu
//  [x] without a notification area the program runs on, and the icon shows once one appears
#include <QSystemTrayIcon>

#include "backends/qt/qt_art.h"
#include "backends/qt/qt_platform.h"
#include "backends/qt/qt_state.h"
#include "backends/qt/qt_text.h"

namespace tasklane::qt {

namespace {

// A panel may start after the program does, as with an autostart at logon.
constexpr int trayLookIntervalMs = 3000;

void ShowWhenThereIsATray(QtState& state) {
  if (QSystemTrayIcon::isSystemTrayAvailable()) {
    state.trayLook.stop();
    state.tray->show();
  } else if (!state.trayLook.isActive()) {
    state.trayLook.start(trayLookIntervalMs);
  }
}

}  // namespace

void QtPlatform::ShowTrayIcon(std::u16string_view tip) {
  QtState& state = *state_;
  if (!state.tray) {
    state.tray = std::make_unique<QSystemTrayIcon>(ProgramIcon());
    QObject::connect(state.tray.get(), &QSystemTrayIcon::activated, state.tray.get(),
                     [&state](QSystemTrayIcon::ActivationReason reason) {
                       if (!state.events) return;
                       if (reason == QSystemTrayIcon::Trigger) state.events->TrayClicked();
                       else if (reason == QSystemTrayIcon::Context) state.events->TrayMenuRequested();
                     });
    QObject::connect(&state.trayLook, &QTimer::timeout, state.tray.get(), [&state] { ShowWhenThereIsATray(state); });
  }
  state.tray->setToolTip(QtString(tip));
  ShowWhenThereIsATray(state);
}

}  // namespace tasklane::qt
