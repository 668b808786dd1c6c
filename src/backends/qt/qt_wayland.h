// A Wayland compositor lets no program place its own window or keep it above the others;
// through XWayland both work. So in a Wayland session with an X display the program runs on
// Qt's xcb platform, unless QT_QPA_PLATFORM names one.
#pragma once

#include <string_view>

namespace tasklane::qt {

// Call before the application object exists.
void PreferXWayland();

// The decision, from the values of QT_QPA_PLATFORM, XDG_SESSION_TYPE, WAYLAND_DISPLAY and
// DISPLAY (empty when unset).
bool ShouldPreferXWayland(std::string_view qpaPlatform, std::string_view sessionType,
                          std::string_view waylandDisplay, std::string_view display);

}  // namespace tasklane::qt
