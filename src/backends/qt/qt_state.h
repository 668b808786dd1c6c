// Everything the Qt front end keeps, in one place, for the files that implement QtPlatform.
#pragma once

#include <QSystemTrayIcon>
#include <QTimer>
#include <map>
#include <memory>

#include "backends/qt/qt_hint.h"
#include "backends/qt/qt_instance.h"
#include "backends/qt/qt_session.h"
#include "backends/qt/qt_window.h"
#include "platform/Clipboard.h"
#include "platform/Files.h"

namespace tasklane::qt {

class QtClipboard final : public platform::Clipboard {
 public:
  std::u16string Text() override;
  void SetText(std::u16string_view text) override;
};

struct QtState {
  QtWindow window;
  platform::WindowEvents* events = nullptr;
  std::map<int, std::unique_ptr<QTimer>> timers;  // one per timer id, made on first use
  QtClipboard clipboard;
  std::unique_ptr<platform::Files> files = platform::MakeSystemFiles();
  QtInstance instance{window};
  QtSession session{window};
  QtHint hint;
  std::unique_ptr<QSystemTrayIcon> tray;  // made on the core's first request
  QTimer trayLook;                        // looks again for a notification area while none is there
};

}  // namespace tasklane::qt
