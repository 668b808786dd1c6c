#include "XDisplay.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

extern char** environ;

namespace tasklane::testing {

namespace {

// Xvfb writes the display number it took, then a line break, to this descriptor.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  char c = 0;
  while (::read(fd, &c, 1) == 1 && c != '\n') number += c;
  return number;
}

}  // namespace

VirtualDisplay::VirtualDisplay() {
  int pipe[2];
  if (::pipe(pipe) != 0) throw std::runtime_error("pipe");
  const std::string fd = std::to_string(pipe[1]);
  std::vector<std::string> arguments{"Xvfb", "-displayfd", fd, "-screen", "0", "1280x800x24", "-nolisten", "tcp"};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, pipe[0]);
  const int error = posix_spawnp(&xvfb_, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe[1]);
  const std::string number = error == 0 ? ReadDisplayNumber(pipe[0]) : std::string();
  ::close(pipe[0]);
  if (number.empty()) throw std::runtime_error("Xvfb did not start");
  name_ = ":" + number;
  connection_ = xcb_connect(name_.c_str(), nullptr);
  if (xcb_connection_has_error(connection_)) throw std::runtime_error("no connection to " + name_);
}

VirtualDisplay::~VirtualDisplay() {
  if (connection_) xcb_disconnect(connection_);
  if (xvfb_ <= 0) return;
  ::kill(xvfb_, SIGTERM);
  int status = 0;
  ::waitpid(xvfb_, &status, 0);
}

std::uint32_t VirtualDisplay::Atom(const char* name) {
  const auto cookie = xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(connection_, cookie, nullptr), &std::free);
  return reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
}

std::string VirtualDisplay::AtomName(std::uint32_t atom) {
  std::unique_ptr<xcb_get_atom_name_reply_t, decltype(&std::free)> reply(
      xcb_get_atom_name_reply(connection_, xcb_get_atom_name(connection_, atom), nullptr), &std::free);
  if (!reply) return {};
  return std::string(xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get()));
}

// The property's bytes, whatever its type.
std::string VirtualDisplay::Property(std::uint32_t window, std::uint32_t property) {
  const auto cookie = xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
  std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
      xcb_get_property_reply(connection_, cookie, nullptr), &std::free);
  if (!reply) return {};
  const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
  return std::string(bytes, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

std::vector<XWindow> VirtualDisplay::WindowsOf(const std::string& instance) {
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
  std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
      xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root), nullptr), &std::free);
  std::vector<XWindow> windows;
  if (!tree) return windows;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
    const std::string wmClass = Property(children[i], XCB_ATOM_WM_CLASS);
    if (wmClass.substr(0, wmClass.find('\0')) != instance) continue;
    XWindow window;
    window.id = children[i];
    window.title = Property(children[i], XCB_ATOM_WM_NAME);
    const std::string types = Property(children[i], Atom("_NET_WM_WINDOW_TYPE"));
    if (types.size() >= 4) {
      std::uint32_t type = 0;
      std::memcpy(&type, types.data(), 4);
      window.type = AtomName(type);
    }
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, children[i]), nullptr),
        &std::free);
    window.viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    windows.push_back(window);
  }
  return windows;
}

void VirtualDisplay::Close(std::uint32_t window) {
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = Atom("WM_PROTOCOLS");
  event.data.data32[0] = Atom("WM_DELETE_WINDOW");
  event.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
  xcb_flush(connection_);
}

void VirtualDisplay::Move(std::uint32_t window, int x, int y) {
  const std::uint32_t place[] = {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)};
  xcb_configure_window(connection_, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, place);
  xcb_flush(connection_);
}

}  // namespace tasklane::testing
