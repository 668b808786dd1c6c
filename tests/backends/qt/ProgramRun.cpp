#include "ProgramRun.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLocalSocket>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <thread>

extern char** environ;

namespace tasklane::testing {

namespace fs = std::filesystem;

namespace {

fs::path MakeOwnFolder() {
  static std::mt19937_64 random{std::random_device{}()};
  for (;;) {
    const fs::path folder = fs::temp_directory_path() / ("tasklane-qt-" + std::to_string(random()));
    if (fs::create_directory(folder)) return folder;
  }
}

// The test's environment with the program's own platform and runtime folder.
std::vector<std::string> ProgramEnvironment(const ProgramFolder& folder, const std::string& display) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string_view text(*entry);
    if (text.starts_with("QT_QPA_PLATFORM=") || text.starts_with("XDG_RUNTIME_DIR=")) continue;
    if (text.starts_with("DISPLAY=") || text.starts_with("WAYLAND_DISPLAY=")) continue;
    environment.emplace_back(text);
  }
  if (display.empty()) {
    environment.push_back("QT_QPA_PLATFORM=offscreen");
  } else {
    environment.push_back("QT_QPA_PLATFORM=xcb");
    environment.push_back("DISPLAY=" + display);
  }
  environment.push_back("XDG_RUNTIME_DIR=" + folder.Runtime().string());
  return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

void Check(int error, const char* what) {
  if (error != 0) throw std::system_error(error, std::generic_category(), what);
}

}  // namespace

ProgramFolder::ProgramFolder(const fs::path& executable)
    : root_(MakeOwnFolder()), program_(root_ / "program"), runtime_(root_ / "runtime") {
  fs::create_directory(program_);
  fs::create_directory(runtime_);
  fs::permissions(runtime_, fs::perms::owner_all, fs::perm_options::replace);
  fs::copy_file(executable, program_ / "tasklane");
}

ProgramFolder::~ProgramFolder() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::vector<std::string> ProgramFolder::OtherFiles() const {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(program_)) {
    if (entry.path().filename() != "tasklane") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ProgramFolder::LogText() const { return fs::exists(Log()) ? ReadFile(Log()) : std::string(); }

SaveWatch::SaveWatch(const fs::path& folder) : inotify_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  if (inotify_ < 0 || inotify_add_watch(inotify_, folder.c_str(), IN_CREATE | IN_MOVED_TO) < 0) {
    throw std::system_error(errno, std::generic_category(), "inotify");
  }
}

SaveWatch::~SaveWatch() { ::close(inotify_); }

int SaveWatch::Saves() {
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t length = ::read(inotify_, buffer, sizeof buffer);
    if (length <= 0) return saves_;
    for (ssize_t offset = 0; offset < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
      if ((event->mask & IN_CREATE) && event->len > 0 &&
          std::string_view(event->name).starts_with("ToDoList~tmp~backup~")) {
        ++saves_;
      }
      offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
}

RunningProgram::RunningProgram(const ProgramFolder& folder, const std::vector<std::string>& arguments,
                               const std::string& display) {
  std::vector<std::string> argv{(folder.Program() / "tasklane").string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environment = ProgramEnvironment(folder, display);
  std::vector<char*> argvPointers = Pointers(argv);
  std::vector<char*> environmentPointers = Pointers(environment);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  Check(posix_spawn_file_actions_init(&actions), "spawn actions");
  Check(posix_spawnattr_init(&attributes), "spawn attributes");
  // Started from elsewhere: the program must find its list beside itself, not here.
  Check(posix_spawn_file_actions_addchdir_np(&actions, folder.Log().parent_path().c_str()), "chdir");
  Check(posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, folder.Log().c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644), "log");
  Check(posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO), "log");
  Check(posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0), "stdin");
  sigset_t none;
  sigset_t defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&defaults, signal);
  Check(posix_spawnattr_setsigmask(&attributes, &none), "signal mask");
  Check(posix_spawnattr_setsigdefault(&attributes, &defaults), "signal defaults");
  Check(posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF), "spawn flags");
  const int error =
      posix_spawn(&pid_, argvPointers[0], &actions, &attributes, argvPointers.data(), environmentPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  Check(error, "posix_spawn");
}

RunningProgram::~RunningProgram() {
  if (!Running()) return;
  ::kill(pid_, SIGKILL);
  int status = 0;
  ::waitpid(pid_, &status, 0);
}

void RunningProgram::Signal(int signal) {
  if (Running()) ::kill(pid_, signal);
}

bool RunningProgram::Running() {
  if (exitCode_) return false;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) != pid_) return true;
  exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return false;
}

std::optional<int> RunningProgram::WaitForExit(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (Running() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(20ms);
  return exitCode_;
}

bool WaitUntilServing(const ProgramFolder& folder, std::chrono::milliseconds timeout) {
  const QString socketPath = QString::fromStdString((folder.Runtime() / "tasklane-ToDoMutex.socket").string());
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (socket.waitForConnected(1000)) {
      socket.write("query\n");
      while (!socket.canReadLine() && socket.waitForReadyRead(2000)) {
      }
      if (socket.canReadLine()) return socket.readLine() == "Tasklane\tTToDoForm\n";
    }
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary);
  file << bytes;
}

}  // namespace tasklane::testing
