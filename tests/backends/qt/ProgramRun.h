// The real program as a child process: a fresh program folder with a copy of the executable
// (the list file lives beside it), a runtime folder of its own (so the single-instance lock
// is the test's own), the offscreen platform, and a watch on the saves it makes.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tasklane::testing {

using namespace std::chrono_literals;

// Generous: a slow or busy machine must never fail a test, only make it wait.
inline constexpr std::chrono::milliseconds patience = 60s;

class ProgramFolder {
 public:
  // Holds a copy of `executable`, the real program unless a test needs another build of it.
  explicit ProgramFolder(const std::filesystem::path& executable = TASKLANE_PROGRAM);
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::filesystem::path& Program() const { return program_; }  // holds the executable
  const std::filesystem::path& Runtime() const { return runtime_; }  // XDG_RUNTIME_DIR
  std::filesystem::path ListFile() const { return program_ / "ToDoList.xml"; }
  std::filesystem::path Log() const { return root_ / "output.log"; }
  // The names in the program folder other than the executable, sorted.
  std::vector<std::string> OtherFiles() const;
  std::string LogText() const;

 private:
  std::filesystem::path root_;
  std::filesystem::path program_;
  std::filesystem::path runtime_;
};

// Counts the saves made in a folder: each save starts with a temporary file of its own.
class SaveWatch {
 public:
  explicit SaveWatch(const std::filesystem::path& folder);
  ~SaveWatch();
  SaveWatch(const SaveWatch&) = delete;
  SaveWatch& operator=(const SaveWatch&) = delete;
  int Saves();

 private:
  int inotify_ = -1;
  int saves_ = 0;
};

class RunningProgram {
 public:
  // On the offscreen platform, or on the X display named (":N") when one is given.
  RunningProgram(const ProgramFolder& folder, const std::vector<std::string>& arguments = {},
                 const std::string& display = {});
  // A program still running is killed: a failed test leaves nothing behind.
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  void Signal(int signal);
  bool Running();
  // The exit code once it ended within `timeout` (a signal that ended it as 128 + signal).
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout = patience);

 private:
  pid_t pid_ = -1;
  std::optional<int> exitCode_;
};

// Waits until the program that holds the folder's lock answers on its socket with its
// window's title and class name, which it does from inside its event loop only.
bool WaitUntilServing(const ProgramFolder& folder, std::chrono::milliseconds timeout = patience);

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace tasklane::testing
