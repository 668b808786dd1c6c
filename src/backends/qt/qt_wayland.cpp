#include "backends/qt/qt_wayland.h"

#include <cstdlib>

namespace tasklane::qt {
namespace {

std::string_view Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

bool ShouldPreferXWayland(std::string_view qpaPlatform, std::string_view sessionType,
                          std::string_view waylandDisplay, std::string_view display) {
  const bool wayland = sessionType == "wayland" || !waylandDisplay.empty();
  return qpaPlatform.empty() && wayland && !display.empty();
}

void PreferXWayland() {
  if (ShouldPreferXWayland(Variable("QT_QPA_PLATFORM"), Variable("XDG_SESSION_TYPE"), Variable("WAYLAND_DISPLAY"),
                           Variable("DISPLAY"))) {
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
}

}  // namespace tasklane::qt
