// The file operations the program needs, behind one small interface, so that tests can put
// faults in any of them. Paths are absolute or relative to the current folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tasklane::platform {

// A file operation that failed; what() names the operation, the path and the system's reason.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Replace has put the new file in place, but the system could not confirm that the change
// will survive a power cut.
class UnconfirmedReplaceError : public FileError {
 public:
  using FileError::FileError;
};

// What tells one version of a file from another without reading it: its size and when it was
// last written, in the system's own units.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t written = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

struct FolderEntry {
  std::filesystem::path name;  // the entry's own name, without its folder
  bool isFolder = false;
};

// A file held for this process alone until this is destroyed; other processes, and other
// holds of this one, are refused it meanwhile.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

class Files {
 public:
  virtual ~Files() = default;

  virtual bool FileExists(const std::filesystem::path& path) = 0;
  virtual bool FolderExists(const std::filesystem::path& path) = 0;
  // The stamp of the file a path names, links followed; none for a missing or unreadable one.
  virtual std::optional<FileStamp> Stamp(const std::filesystem::path& path) = 0;

  // The file that `path` finally names: each symbolic link on the way is followed, a relative
  // one from its own folder, up to a name that is no link, which need not exist. A path that
  // is no link is returned as it is.
  virtual std::filesystem::path FinalTarget(const std::filesystem::path& path) = 0;

  // A copy of the file's bytes: another program may change or cut the file short at any
  // moment, and what was read stays as it was read.
  virtual std::string ReadWhole(const std::filesystem::path& path) = 0;

  // Takes a file's bytes piece by piece, in order.
  using ByteWriter = std::function<void(std::string_view bytes)>;
  using ByteProducer = std::function<void(const ByteWriter& write)>;
  // Creates or truncates the file, writes every byte that `produce` hands to its writer as it
  // goes, flushes the file to the disk and closes it, checking each step. A failure, of the
  // writing or of `produce` itself, ends it there and is passed on: the file is incomplete.
  virtual void WriteWhole(const std::filesystem::path& path, const ByteProducer& produce) = 0;
  void WriteWhole(const std::filesystem::path& path, std::string_view bytes) {
    WriteWhole(path, [&](const ByteWriter& write) { write(bytes); });
  }
  // Adds the bytes at the file's end, making the file when it is missing, and flushes it to the
  // disk before it returns: what it wrote survives a power cut.
  virtual void AppendDurably(const std::filesystem::path& path, std::string_view bytes) = 0;
  // Holds `path`, made empty when missing, for as long as the lock lives; nullptr when it is
  // held already.
  virtual std::unique_ptr<FileLock> TryLock(const std::filesystem::path& path) = 0;
  // Copies, replacing an existing `to`.
  virtual void Copy(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // Puts `from` in the place of `to` in one step that no crash can leave half done,
  // replacing an existing `to` and making the change durable. `to` itself is replaced, even
  // when it is a link. An existing `to` passes its permissions on to `from`. Retries a few
  // times, briefly, while `to` is held open by someone else. Throws UnconfirmedReplaceError
  // when only the durability could not be confirmed.
  virtual void Replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // Renames `from` to `to`, which must not exist yet.
  virtual void Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  virtual void Delete(const std::filesystem::path& path) = 0;
  virtual void ClearReadOnly(const std::filesystem::path& path) = 0;
  virtual std::vector<FolderEntry> ListFolder(const std::filesystem::path& path) = 0;
  // Whether this user may make files in the folder.
  virtual bool CanWriteInFolder(const std::filesystem::path& path) = 0;
  // Makes the folder, and any missing folder above it; the folder itself only its owner may
  // open. An existing folder is left as it is.
  virtual void CreatePrivateFolder(const std::filesystem::path& path) = 0;
};

// The real thing, on std::filesystem and the few system calls it lacks.
std::unique_ptr<Files> MakeSystemFiles();

}  // namespace tasklane::platform
