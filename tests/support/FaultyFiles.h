// Files over a real folder, with faults a test can put into any operation, and a log of every
// call so that a test can check the order in which the program touches its files.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"

namespace tasklane::testing {

class FaultyFiles : public platform::Files {
 public:
  enum class Operation {
    FileExists,
    FolderExists,
    FinalTarget,
    ReadWhole,
    WriteWhole,
    Copy,
    Replace,
    Rename,
    Delete,
    ClearReadOnly,
    ListFolder,
    CanWriteInFolder,
    CreatePrivateFolder,
    AppendDurably,
    TryLock,
    Stamp,
  };
  static constexpr int kOperationCount = static_cast<int>(Operation::Stamp) + 1;

  struct Call {
    Operation operation;
    std::filesystem::path path;
    std::filesystem::path to;  // Copy, Replace and Rename only
    bool failed = false;       // by an injected fault or a real one
  };

  // The call after the next `skip` calls of `operation` fails; several may be pending.
  void FailNext(Operation operation, int skip = 0);
  // Every call of `operation` fails until Heal.
  void FailAlways(Operation operation);
  void Heal(Operation operation);
  void HealAll();
  // An injected WriteWhole fault first writes the first half of the first piece of bytes, and
  // fails from inside the writer, as a disk that fills up midway does, instead of failing
  // before it opens the file.
  void SetHalfWriteOnFault(bool halfWrite) { halfWriteOnFault_ = halfWrite; }
  // An injected Replace fault first moves the file, as when only flushing the folder fails
  // afterwards, and then reports that the replacement is unconfirmed.
  void SetMoveOnReplaceFault(bool move) { moveOnReplaceFault_ = move; }

  const std::vector<Call>& Calls() const { return calls_; }
  // The calls as "WriteWhole ToDoList.tmp", "Replace ToDoList.tmp -> ToDoList.xml", with
  // " (failed)" after those that failed.
  std::vector<std::string> CallTexts() const;
  int CallCount(Operation operation) const;
  void ClearCalls() { calls_.clear(); }

  // Read-only means what it means on Windows, where the program's rules come from: a file
  // without owner write permission cannot be written, replaced, overwritten or deleted, even
  // by root, until ClearReadOnly.
  bool FileExists(const std::filesystem::path& path) override;
  bool FolderExists(const std::filesystem::path& path) override;
  // A fault reads as a file that cannot be looked at.
  std::optional<platform::FileStamp> Stamp(const std::filesystem::path& path) override;
  // Follows the links as the real system does.
  std::filesystem::path FinalTarget(const std::filesystem::path& path) override;
  std::string ReadWhole(const std::filesystem::path& path) override;
  using Files::WriteWhole;
  void WriteWhole(const std::filesystem::path& path, const ByteProducer& produce) override;
  void AppendDurably(const std::filesystem::path& path, std::string_view bytes) override;
  std::unique_ptr<platform::FileLock> TryLock(const std::filesystem::path& path) override;
  void Copy(const std::filesystem::path& from, const std::filesystem::path& to) override;
  void Replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
  void Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
  // A missing file is a failure, as DeleteFile reports it.
  void Delete(const std::filesystem::path& path) override;
  void ClearReadOnly(const std::filesystem::path& path) override;
  std::vector<platform::FolderEntry> ListFolder(const std::filesystem::path& path) override;
  // A folder without owner write permission cannot be written, even by root; a failure says no.
  bool CanWriteInFolder(const std::filesystem::path& path) override;
  void CreatePrivateFolder(const std::filesystem::path& path) override;

 private:
  struct Faults {
    int callsSoFar = 0;
    std::multiset<int> failingCalls;  // by the number of the call, counted from 0
    bool always = false;
  };

  // Logs the call and throws if a fault is due for it.
  void Enter(Operation operation, const std::filesystem::path& path, const std::filesystem::path& to = {});
  bool FaultDue(Operation operation);
  [[noreturn]] void Fail(std::string_view what, const std::filesystem::path& path, std::string_view reason);
  [[noreturn]] void InjectedFault(Operation operation, const std::filesystem::path& path);

  std::array<Faults, kOperationCount> faults_{};
  std::vector<Call> calls_;
  bool halfWriteOnFault_ = false;
  bool moveOnReplaceFault_ = false;
  std::unique_ptr<platform::Files> real_ = platform::MakeSystemFiles();
};

std::string_view OperationName(FaultyFiles::Operation operation);

}  // namespace tasklane::testing
