// A virtual X display of the test's own (Xvfb), and the program's windows on it as the window
// system sees them: for the few tests that must see what a user would see.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace tasklane::testing {

struct XWindow {
  std::uint32_t id = 0;
  std::string title;
  std::string type;  // the first _NET_WM_WINDOW_TYPE, e.g. "_NET_WM_WINDOW_TYPE_DIALOG"
  bool viewable = false;
};

class VirtualDisplay {
 public:
  // Starts Xvfb on a display number it picks itself; throws when it cannot.
  VirtualDisplay();
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  const std::string& Name() const { return name_; }  // ":N", for DISPLAY
  // The top-level windows of the program called `instance` (its WM_CLASS), in stacking order.
  std::vector<XWindow> WindowsOf(const std::string& instance);
  // Asks a window to close, as a window manager's close box does.
  void Close(std::uint32_t window);
  // Moves a window as a window manager does, behind its program's back.
  void Move(std::uint32_t window, int x, int y);

 private:
  std::string Property(std::uint32_t window, std::uint32_t property);
  std::string AtomName(std::uint32_t atom);
  std::uint32_t Atom(const char* name);

  pid_t xvfb_ = -1;
  std::string name_;
  xcb_connection_t* connection_ = nullptr;
};

}  // namespace tasklane::testing
