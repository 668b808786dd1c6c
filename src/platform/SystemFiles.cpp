#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/ShownPath.h"
#include "platform/Files.h"
#include "platform/LargePages.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tasklane::platform {
namespace {

namespace fs = std::filesystem;

// The most the system is asked to move in one read or write; Windows counts in unsigned int.
constexpr std::size_t kMaxChunk = std::size_t{1} << 30;

[[noreturn]] void Fail(std::string_view action, const fs::path& path, std::string_view reason) {
  throw FileError(std::string(action) + " \"" + ShownPath(path) + "\". " + std::string(reason));
}

std::string Described(std::string_view action, const fs::path& from, const fs::path& to, std::string_view reason) {
  return std::string(action) + " \"" + ShownPath(from) + "\" to \"" + ShownPath(to) + "\". " + std::string(reason);
}

[[noreturn]] void Fail(std::string_view action, const fs::path& from, const fs::path& to,
                       std::string_view reason) {
  throw FileError(Described(action, from, to, reason));
}

// What the C library reported for the call that has just failed.
std::error_code CError() { return {errno, std::generic_category()}; }

#ifdef _WIN32

std::error_code SystemError() { return {static_cast<int>(::GetLastError()), std::system_category()}; }

enum class Opening { Read, Write, Append };

int OpenFile(const fs::path& path, Opening opening) {
  int fd = -1;
  const int mode = opening == Opening::Read    ? _O_RDONLY
                   : opening == Opening::Write ? _O_WRONLY | _O_CREAT | _O_TRUNC
                                               : _O_WRONLY | _O_CREAT | _O_APPEND;
  const int flags = mode | _O_BINARY | _O_NOINHERIT;
  const errno_t error = ::_wsopen_s(&fd, path.c_str(), flags, _SH_DENYNO, _S_IREAD | _S_IWRITE);
  if (error != 0) errno = error;
  return fd;
}
long long ReadSome(int fd, char* to, std::size_t count) {
  return ::_read(fd, to, static_cast<unsigned>(std::min(count, kMaxChunk)));
}
long long WriteSome(int fd, const char* from, std::size_t count) {
  return ::_write(fd, from, static_cast<unsigned>(std::min(count, kMaxChunk)));
}
std::error_code FlushToDisk(int fd) {
  const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  if (handle == INVALID_HANDLE_VALUE) return {EBADF, std::generic_category()};
  return ::FlushFileBuffers(handle) ? std::error_code{} : SystemError();
}
int CloseFile(int fd) { return ::_close(fd); }
void StartWriteBack(int, std::size_t, std::size_t) {}

#else

enum class Opening { Read, Write, Append };

int OpenFile(const fs::path& path, Opening opening) {
  const int mode = opening == Opening::Read    ? O_RDONLY
                   : opening == Opening::Write ? O_WRONLY | O_CREAT | O_TRUNC
                                               : O_WRONLY | O_CREAT | O_APPEND;
  const int flags = mode | O_CLOEXEC;
  int fd;
  do {
    // A recovery journal holds the list itself: its owner's only.
    fd = ::open(path.c_str(), flags, opening == Opening::Append ? 0600 : 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}
long long ReadSome(int fd, char* to, std::size_t count) { return ::read(fd, to, std::min(count, kMaxChunk)); }
long long WriteSome(int fd, const char* from, std::size_t count) {
  return ::write(fd, from, std::min(count, kMaxChunk));
}
std::error_code FlushToDisk(int fd) {
  while (::fsync(fd) != 0) {
    if (errno != EINTR) return CError();
  }
  return {};
}
int CloseFile(int fd) { return ::close(fd); }
// Lets the disk start on bytes written so far while more are made; the flush at the end still
// waits for all of them, and reports what failed.
void StartWriteBack(int fd, std::size_t from, std::size_t length) {
#ifdef __linux__
  ::sync_file_range(fd, static_cast<off_t>(from), static_cast<off_t>(length), SYNC_FILE_RANGE_WRITE);
#else
  (void)fd, (void)from, (void)length;
#endif
}

// Makes a rename or removal in `folder` itself durable; the file's own data is not enough.
std::error_code FlushFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return CError();
  std::error_code error = FlushToDisk(fd);
  // NOTE: a few file systems cannot sync a folder and say EINVAL; their renames need nothing more.
  if (error == std::errc::invalid_argument) error.clear();
  ::close(fd);
  return error;
}

#endif

#ifndef _WIN32
// A replaced file keeps who may read and write it: a list kept private stays private. A `to`
// that does not exist yet leaves `from` as it was made.
std::error_code TakeOverPermissions(const fs::path& from, const fs::path& to) {
  struct stat old {};
  if (::stat(to.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return {};
  const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return CError();
  const std::error_code error = ::fchmod(fd, old.st_mode & 07777) == 0 ? std::error_code{} : CError();
  ::close(fd);
  return error;
}
#endif

// Closes the file on every way out of a function that has not closed it itself.
class OpenedFile {
 public:
  explicit OpenedFile(int fd) : fd_(fd) {}
  ~OpenedFile() {
    if (fd_ >= 0) CloseFile(fd_);
  }
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

bool IsHeldOpen(const std::error_code& error) {
#ifdef _WIN32
  const int code = error.value();
  return code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED || code == ERROR_LOCK_VIOLATION;
#else
  return error == std::errc::device_or_resource_busy || error == std::errc::text_file_busy ||
         error == std::errc::resource_unavailable_try_again;
#endif
}

void FlushAndClose(OpenedFile& file, const fs::path& path) {
  if (const std::error_code error = FlushToDisk(file.Get())) {
    Fail("Cannot write file", path, "Flushing to the disk failed: " + error.message());
  }
  // NOTE: Linux releases the descriptor even when close says EINTR, and the data is on the
  // disk already, so that one is not a failure; retrying could close someone else's file.
  if (CloseFile(file.Release()) != 0 && errno != EINTR) {
    Fail("Cannot write file", path, "Closing failed: " + CError().message());
  }
}

#ifdef _WIN32
// NOTE: a byte-range lock, since a file opened without sharing could not be replaced or
// removed by the program that holds it either.
class HeldFile final : public FileLock {
 public:
  explicit HeldFile(HANDLE handle) : handle_(handle) {}
  ~HeldFile() override { ::CloseHandle(handle_); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

 private:
  HANDLE handle_;
};

std::unique_ptr<FileLock> LockFile(const fs::path& path) {
  const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) Fail("Cannot open file", path, SystemError().message());
  OVERLAPPED whole{};
  if (::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
    return std::make_unique<HeldFile>(handle);
  }
  const std::error_code error = SystemError();
  ::CloseHandle(handle);
  if (error.value() == ERROR_LOCK_VIOLATION) return nullptr;
  Fail("Cannot lock file", path, error.message());
}
#else
class HeldFile final : public FileLock {
 public:
  explicit HeldFile(int fd) : fd_(fd) {}
  ~HeldFile() override { ::close(fd_); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

 private:
  int fd_;
};

// flock holds for the open file, so a second hold from this process is refused as well.
std::unique_ptr<FileLock> LockFile(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) Fail("Cannot open file", path, CError().message());
  int result;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result == 0) return std::make_unique<HeldFile>(fd);
  const std::error_code error = CError();
  // NOTE: some network and FUSE file systems cannot lock at all; there the file is taken as
  // held, as nothing better can be known.
  if (error == std::errc::no_lock_available || error == std::errc::operation_not_supported) {
    return std::make_unique<HeldFile>(fd);
  }
  ::close(fd);
  if (error == std::errc::operation_would_block) return nullptr;
  Fail("Cannot lock file", path, error.message());
}
#endif

void WriteAll(int file, const fs::path& path, std::string_view bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const long long done = WriteSome(file, bytes.data() + written, bytes.size() - written);
    if (done > 0) {
      written += static_cast<std::size_t>(done);
    } else if (done == 0) {
      // Nothing written and no reason given: asking again would only spin.
      Fail("Cannot write file", path, std::make_error_code(std::errc::io_error).message());
    } else if (errno != EINTR) {
      Fail("Cannot write file", path, CError().message());
    }
  }
}


std::optional<FileStamp> StampOf(const fs::path& path) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(path, error);
  if (error) return std::nullopt;
  const fs::file_time_type written = fs::last_write_time(path, error);
  if (error) return std::nullopt;
  return FileStamp{size, static_cast<std::int64_t>(written.time_since_epoch().count())};
}

class SystemFiles final : public Files {
 public:
  bool FileExists(const fs::path& path) override {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return !error && fs::exists(status) && !fs::is_directory(status);
  }

  bool FolderExists(const fs::path& path) override {
    std::error_code error;
    return fs::is_directory(fs::status(path, error));
  }

  std::optional<FileStamp> Stamp(const fs::path& path) override { return StampOf(path); }

  fs::path FinalTarget(const fs::path& path) override {
    // As many links as Linux follows in one path before it gives up on a loop.
    constexpr int kMaxLinks = 40;
    fs::path current = path;
    for (int links = 0;; ++links) {
      std::error_code error;
      if (!fs::is_symlink(fs::symlink_status(current, error))) return current;
      if (links == kMaxLinks) {
        Fail("Cannot follow link", path, std::make_error_code(std::errc::too_many_symbolic_link_levels).message());
      }
      const fs::path next = fs::read_symlink(current, error);
      if (error) Fail("Cannot follow link", current, error.message());
      // Joined, not normalised: ".." after a linked folder means what the system says it means.
      current = next.is_absolute() ? next : current.parent_path() / next;
    }
  }

  std::string ReadWhole(const fs::path& path) override {
    OpenedFile file(OpenFile(path, Opening::Read));
    if (file.Get() < 0) Fail("Cannot open file", path, CError().message());
    // Read straight into the string, one allocation for a file of known size, one byte more
    // so that its end shows at once; a file that grows meanwhile is still read whole.
    std::error_code unknown;
    const std::uintmax_t size = fs::file_size(path, unknown);
    std::string bytes;
    bytes.reserve(unknown ? std::size_t{64} << 10 : static_cast<std::size_t>(size) + 1);
    PreferLargePages(bytes.data(), bytes.capacity());
    bytes.resize(bytes.capacity());
    std::size_t filled = 0;
    for (;;) {
      if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
      const long long got = ReadSome(file.Get(), bytes.data() + filled, bytes.size() - filled);
      if (got > 0) {
        filled += static_cast<std::size_t>(got);
      } else if (got == 0) {
        bytes.resize(filled);
        return bytes;
      } else if (errno != EINTR) {
        Fail("Cannot read file", path, CError().message());
      }
    }
  }


  void WriteWhole(const fs::path& path, const ByteProducer& produce) override {
    OpenedFile file(OpenFile(path, Opening::Write));
    if (file.Get() < 0) Fail("Cannot write file", path, CError().message());
    // Small pieces are gathered, large ones written as they come: one system call per small
    // piece would cost more than the copy.
    constexpr std::size_t kGathered = 1 << 20;
    constexpr std::size_t kLarge = 64 << 10;
    constexpr std::size_t kWriteBack = 8 << 20;
    std::string pending;
    std::size_t written = 0;
    std::size_t startedUpTo = 0;
    auto writeOut = [&](std::string_view bytes) {
      WriteAll(file.Get(), path, bytes);
      written += bytes.size();
      if (written - startedUpTo < kWriteBack) return;
      StartWriteBack(file.Get(), startedUpTo, written - startedUpTo);
      startedUpTo = written;
    };
    produce([&](std::string_view bytes) {
      if (bytes.size() >= kLarge || pending.size() + bytes.size() > kGathered) {
        writeOut(pending);
        pending.clear();
      }
      if (bytes.size() >= kLarge) writeOut(bytes);
      else pending.append(bytes);
    });
    writeOut(pending);
    FlushAndClose(file, path);
  }

  void AppendDurably(const fs::path& path, std::string_view bytes) override {
    std::error_code unknown;
    const bool made = !fs::exists(path, unknown);
    OpenedFile file(OpenFile(path, Opening::Append));
    if (file.Get() < 0) Fail("Cannot write file", path, CError().message());
    WriteAll(file.Get(), path, bytes);
    FlushAndClose(file, path);
#ifndef _WIN32
    // A new file's name is in its folder only once the folder is on the disk too.
    if (made) {
      if (const std::error_code error = FlushFolder(path.parent_path().empty() ? "." : path.parent_path())) {
        Fail("Cannot write file", path, "Flushing its folder failed: " + error.message());
      }
    }
#else
    (void)made;
#endif
  }

  std::unique_ptr<FileLock> TryLock(const fs::path& path) override { return LockFile(path); }

  void Copy(const fs::path& from, const fs::path& to) override {
#ifdef _WIN32
    // NOTE: MinGW's std::filesystem::copy_file refuses an existing target even when told to
    // overwrite it.
    if (!::CopyFileW(from.c_str(), to.c_str(), FALSE)) Fail("Cannot copy file", from, to, SystemError().message());
#else
    std::error_code error;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    if (error) Fail("Cannot copy file", from, to, error.message());
#endif
  }

  void Replace(const fs::path& from, const fs::path& to) override {
    std::error_code error;
    const fs::path source = fs::absolute(from, error);
    const fs::path target = error ? fs::path() : fs::absolute(to, error);
    if (error) Fail("Cannot move file", from, to, error.message());

#ifndef _WIN32
    if (const std::error_code refused = TakeOverPermissions(source, target)) {
      Fail("Cannot move file", from, to, "Setting the permissions failed: " + refused.message());
    }
#endif

    constexpr int kRetries = 5;
    for (int attempt = 0;; ++attempt) {
#ifdef _WIN32
      const bool moved = ::MoveFileExW(source.c_str(), target.c_str(),
                                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
      error = moved ? std::error_code{} : SystemError();
#else
      error = ::rename(source.c_str(), target.c_str()) == 0 ? std::error_code{} : CError();
#endif
      if (!error || !IsHeldOpen(error) || attempt == kRetries) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (error) Fail("Cannot move file", from, to, error.message());

#ifndef _WIN32
    // The new file is in place from here on; a failure now only leaves its durability unsure.
    std::error_code unsynced = FlushFolder(target.parent_path());
    if (!unsynced && source.parent_path() != target.parent_path()) unsynced = FlushFolder(source.parent_path());
    if (unsynced) {
      throw UnconfirmedReplaceError(
          Described("Cannot move file", from, to, "Flushing the folder to the disk failed: " + unsynced.message()));
    }
#endif
  }

  void Rename(const fs::path& from, const fs::path& to) override {
#ifdef _WIN32
    // Without MOVEFILE_REPLACE_EXISTING the system itself refuses an existing `to`.
    if (!::MoveFileExW(from.c_str(), to.c_str(), 0)) {
      Fail("Cannot rename file", from, to, SystemError().message());
    }
#else
    // A second name, then dropping the first: unlike rename(2) this cannot replace a file that
    // appears at `to` in the meantime.
    if (::link(from.c_str(), to.c_str()) == 0) {
      if (::unlink(from.c_str()) != 0) {
        const std::error_code error = CError();
        ::unlink(to.c_str());
        Fail("Cannot rename file", from, to, error.message());
      }
      return;
    }
    const std::error_code linkError = CError();
    // Folders, and file systems without hard links (FAT on a memory stick), take a plain
    // rename after a look; only a file made in between could then be lost.
    const bool noLinksHere = linkError == std::errc::operation_not_permitted ||
                             linkError == std::errc::operation_not_supported ||
                             linkError == std::errc::function_not_supported;
    if (!noLinksHere) Fail("Cannot rename file", from, to, linkError.message());
    std::error_code error;
    if (fs::exists(fs::symlink_status(to, error))) {
      Fail("Cannot rename file", from, to, std::make_error_code(std::errc::file_exists).message());
    }
    if (::rename(from.c_str(), to.c_str()) != 0) Fail("Cannot rename file", from, to, CError().message());
#endif
  }

  void Delete(const fs::path& path) override {
#ifdef _WIN32
    if (!::DeleteFileW(path.c_str())) Fail("Cannot delete file", path, SystemError().message());
#else
    if (::unlink(path.c_str()) != 0) Fail("Cannot delete file", path, CError().message());
#endif
  }

  void ClearReadOnly(const fs::path& path) override {
#ifdef _WIN32
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      const DWORD code = ::GetLastError();
      if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return;
      Fail("Cannot clear the read-only mark of file", path,
           std::error_code(static_cast<int>(code), std::system_category()).message());
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) == 0) return;
    if (!::SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))) {
      Fail("Cannot clear the read-only mark of file", path, SystemError().message());
    }
#else
    std::error_code error;
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, error);
    if (error && error != std::errc::no_such_file_or_directory) {
      Fail("Cannot clear the read-only mark of file", path, error.message());
    }
#endif
  }

  std::vector<FolderEntry> ListFolder(const fs::path& path) override {
    std::vector<FolderEntry> entries;
    std::error_code error;
    fs::directory_iterator it(path, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
      std::error_code unknown;  // an entry that vanished meanwhile counts as a file
      entries.push_back({it->path().filename(), it->is_directory(unknown)});
    }
    if (error) Fail("Cannot read folder", path, error.message());
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name.native() < b.name.native(); });
    return entries;
  }

  bool CanWriteInFolder(const fs::path& path) override {
#ifdef _WIN32
    // Windows ignores a folder's read-only attribute and decides by its access list: the one
    // sure answer is a file made there, which goes again as it is closed.
    const fs::path probe = path / (L"~Tasklane-write-check-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp");
    const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_EXISTS;
    ::CloseHandle(file);
    return true;
#else
    return ::access(path.c_str(), W_OK | X_OK) == 0;
#endif
  }

  void CreatePrivateFolder(const fs::path& path) override {
    std::error_code error;
    if (fs::is_directory(path, error)) return;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), error);
    if (error) Fail("Cannot create folder", path.parent_path(), error.message());
#ifdef _WIN32
    const bool made = ::CreateDirectoryW(path.c_str(), nullptr) != 0 || ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (!made) Fail("Cannot create folder", path, SystemError().message());
#else
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) Fail("Cannot create folder", path, CError().message());
#endif
  }
};

}  // namespace

std::unique_ptr<Files> MakeSystemFiles() { return std::make_unique<SystemFiles>(); }

}  // namespace tasklane::platform
