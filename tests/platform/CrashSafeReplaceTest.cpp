// A list saved by WriteWhole to a temporary file and Replace over the list must survive the
// saving process being killed at any moment: the list is then always one complete version.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "ReplaceLoopVersion.h"
#include "xml/XmlTree.h"

namespace tasklane::platform {
namespace {

namespace fs = std::filesystem;

// One run of replace_loop_child; killed and reaped at the latest when it goes out of scope.
class SavingChild {
 public:
  explicit SavingChild(const fs::path& folder) {
    const std::string program = REPLACE_LOOP_CHILD;
    const std::string argument = folder.string();
    pid_ = ::fork();
    if (pid_ == 0) {
      ::execl(program.c_str(), program.c_str(), argument.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
  }
  ~SavingChild() {
    if (pid_ > 0) KillAndWait();
  }
  SavingChild(const SavingChild&) = delete;
  SavingChild& operator=(const SavingChild&) = delete;

  bool Started() const { return pid_ > 0; }
  // Whether it has ended by itself, which it only does on a failure.
  bool HasEnded() {
    if (::waitpid(pid_, &status_, WNOHANG) != pid_) return false;
    pid_ = -1;
    return true;
  }
  // The wait status: killed by SIGKILL unless it had ended before.
  int KillAndWait() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
      }
      pid_ = -1;
    }
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int status_ = 0;
};

std::string Described(int status) {
  if (WIFEXITED(status)) return "exited with " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
  return "status " + std::to_string(status);
}

// Whatever list file the kill left must be one complete version, byte for byte. Each child
// counts from 1 again, so the same few versions come up round after round.
void ExpectOneCompleteVersion(const fs::path& list, int round, std::map<int, std::string>& complete) {
  xml::XmlTree tree;
  try {
    tree.LoadFromFile(list);
  } catch (const xml::XmlError& e) {
    FAIL() << "round " << round << ": the list does not load: " << e.what();
  }
  const int version = replace_loop::VersionOf(tree);
  ASSERT_GT(version, 0) << "round " << round << ": the list holds no version";
  std::ifstream in(list, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto [known, isNew] = complete.try_emplace(version);
  if (isNew) known->second = replace_loop::VersionBytes(version);
  EXPECT_TRUE(bytes == known->second)
      << "round " << round << ": version " << version << " differs from its complete text";
}

struct RemovedFolder {
  fs::path path;
  ~RemovedFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

TEST(CrashSafeReplace, AKilledSaveLeavesOneCompleteVersion) {
  const RemovedFolder folder{fs::temp_directory_path() /
                             ("tasklane-" + std::to_string(::getpid()) + "-CrashSafeReplace")};
  fs::remove_all(folder.path);
  fs::create_directories(folder.path);
  const fs::path list = folder.path / replace_loop::kListName;
  std::map<int, std::string> complete;

  // A first run that lasts until a list exists, so that every kill below has one to damage.
  {
    SavingChild child(folder.path);
    ASSERT_TRUE(child.Started());
    while (!fs::exists(list)) {
      ASSERT_FALSE(child.HasEnded()) << "the child ended before saving once";
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const int status = child.KillAndWait();
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << Described(status);
    ExpectOneCompleteVersion(list, 0, complete);
  }

  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> runMilliseconds(5, 150);
  for (int round = 1; round <= 40; ++round) {
    SavingChild child(folder.path);
    ASSERT_TRUE(child.Started());
    std::this_thread::sleep_for(std::chrono::milliseconds(runMilliseconds(random)));
    const int status = child.KillAndWait();
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "round " << round << ": " << Described(status);
    // The saves never remove the list; only a replace that is not atomic could leave none.
    ASSERT_TRUE(fs::exists(list)) << "round " << round << ": the list is gone";
    ExpectOneCompleteVersion(list, round, complete);
    if (HasFatalFailure() || HasNonfatalFailure()) return;
  }
}

}  // namespace
}  // namespace tasklane::platform
