#include "support/FaultyFiles.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

namespace tasklane::testing {
namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

// The stream classes leave the reason in errno on the systems we build on; without one there
// is still the step that failed.
std::string StreamReason(std::string_view step) {
  const int error = errno;
  std::string reason(step);
  if (error != 0) reason += ": " + std::generic_category().message(error);
  return reason;
}

bool ReadOnly(const fs::path& path) {
  std::error_code ignored;
  const fs::file_status status = fs::status(path, ignored);
  return fs::is_regular_file(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

}  // namespace

std::string_view OperationName(FaultyFiles::Operation operation) {
  using Operation = FaultyFiles::Operation;
  switch (operation) {
    case Operation::FileExists: return "FileExists";
    case Operation::FolderExists: return "FolderExists";
    case Operation::FinalTarget: return "FinalTarget";
    case Operation::ReadWhole: return "ReadWhole";
    case Operation::WriteWhole: return "WriteWhole";
    case Operation::Copy: return "Copy";
    case Operation::Replace: return "Replace";
    case Operation::Rename: return "Rename";
    case Operation::Delete: return "Delete";
    case Operation::ClearReadOnly: return "ClearReadOnly";
    case Operation::ListFolder: return "ListFolder";
    case Operation::CanWriteInFolder: return "CanWriteInFolder";
    case Operation::CreatePrivateFolder: return "CreatePrivateFolder";
    case Operation::AppendDurably: return "AppendDurably";
    case Operation::TryLock: return "TryLock";
    case Operation::Stamp: return "Stamp";
  }
  return "?";
}

void FaultyFiles::FailNext(Operation operation, int skip) {
  Faults& faults = faults_[static_cast<std::size_t>(operation)];
  faults.failingCalls.insert(faults.callsSoFar + std::max(skip, 0));
}

void FaultyFiles::FailAlways(Operation operation) { faults_[static_cast<std::size_t>(operation)].always = true; }

void FaultyFiles::Heal(Operation operation) {
  Faults& faults = faults_[static_cast<std::size_t>(operation)];
  faults.always = false;
  faults.failingCalls.clear();
}

void FaultyFiles::HealAll() {
  for (int i = 0; i < kOperationCount; ++i) Heal(static_cast<Operation>(i));
}

std::vector<std::string> FaultyFiles::CallTexts() const {
  std::vector<std::string> texts;
  for (const Call& call : calls_) {
    std::string text(OperationName(call.operation));
    text += " " + call.path.string();
    if (!call.to.empty()) text += " -> " + call.to.string();
    if (call.failed) text += " (failed)";
    texts.push_back(std::move(text));
  }
  return texts;
}

int FaultyFiles::CallCount(Operation operation) const {
  return static_cast<int>(
      std::count_if(calls_.begin(), calls_.end(), [&](const Call& call) { return call.operation == operation; }));
}

bool FaultyFiles::FaultDue(Operation operation) {
  Faults& faults = faults_[static_cast<std::size_t>(operation)];
  const int call = faults.callsSoFar++;
  const auto pending = faults.failingCalls.find(call);
  if (pending != faults.failingCalls.end()) {
    faults.failingCalls.erase(pending);
    return true;
  }
  return faults.always;
}

void FaultyFiles::Enter(Operation operation, const fs::path& path, const fs::path& to) {
  calls_.push_back({operation, path, to});
  // These two may act before they fail.
  if (operation == Operation::WriteWhole || operation == Operation::Replace) return;
  if (FaultDue(operation)) InjectedFault(operation, path);
}

void FaultyFiles::InjectedFault(Operation operation, const fs::path& path) {
  if (!calls_.empty()) calls_.back().failed = true;
  throw platform::FileError("injected fault: " + std::string(OperationName(operation)) + " " + Quoted(path));
}

void FaultyFiles::Fail(std::string_view what, const fs::path& path, std::string_view reason) {
  if (!calls_.empty()) calls_.back().failed = true;
  throw platform::FileError(std::string(what) + " " + Quoted(path) + ": " + std::string(reason));
}

bool FaultyFiles::FileExists(const fs::path& path) {
  Enter(Operation::FileExists, path);
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  return !error && fs::exists(status) && !fs::is_directory(status);
}

bool FaultyFiles::FolderExists(const fs::path& path) {
  Enter(Operation::FolderExists, path);
  std::error_code ignored;
  return fs::is_directory(path, ignored);
}

std::optional<platform::FileStamp> FaultyFiles::Stamp(const fs::path& path) {
  try {
    Enter(Operation::Stamp, path);
  } catch (const platform::FileError&) {
    return std::nullopt;
  }
  return real_->Stamp(path);
}

fs::path FaultyFiles::FinalTarget(const fs::path& path) {
  Enter(Operation::FinalTarget, path);
  return real_->FinalTarget(path);
}

std::string FaultyFiles::ReadWhole(const fs::path& path) {
  Enter(Operation::ReadWhole, path);
  std::error_code ignored;
  if (fs::is_directory(path, ignored)) Fail("ReadWhole", path, "is a folder");
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("ReadWhole", path, StreamReason("open"));
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) Fail("ReadWhole", path, StreamReason("read"));
  return bytes;
}

void FaultyFiles::WriteWhole(const fs::path& path, const ByteProducer& produce) {
  Enter(Operation::WriteWhole, path);
  const bool fault = FaultDue(Operation::WriteWhole);
  if (fault && !halfWriteOnFault_) InjectedFault(Operation::WriteWhole, path);
  if (ReadOnly(path)) Fail("WriteWhole", path, "access denied: the file is read-only");
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) Fail("WriteWhole", path, StreamReason("open"));
  // The file is there, empty, while the bytes are produced, as on a real disk. A fault strikes
  // in the middle of the first piece, from inside the writer, as a disk that fills up does.
  std::string written;
  auto save = [&] {
    out.write(written.data(), static_cast<std::streamsize>(written.size()));
    // Only the process's buffers: a test outlives no power cut, so the file never needs fsync.
    out.flush();
    if (!out) Fail("WriteWhole", path, StreamReason("write"));
    written.clear();
  };
  produce([&](std::string_view piece) {
    if (!fault) {
      written.append(piece);
      return;
    }
    written.append(piece.substr(0, piece.size() / 2));
    save();
    InjectedFault(Operation::WriteWhole, path);
  });
  if (fault) InjectedFault(Operation::WriteWhole, path);
  save();
  out.close();
  if (!out) Fail("WriteWhole", path, StreamReason("close"));
}

void FaultyFiles::Copy(const fs::path& from, const fs::path& to) {
  Enter(Operation::Copy, from, to);
  if (ReadOnly(to)) Fail("Copy", to, "access denied: the file is read-only");
  std::error_code error;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
  if (error) Fail("Copy", from, error.message());
}

void FaultyFiles::Replace(const fs::path& from, const fs::path& to) {
  Enter(Operation::Replace, from, to);
  const bool fault = FaultDue(Operation::Replace);
  if (fault && !moveOnReplaceFault_) InjectedFault(Operation::Replace, from);
  if (ReadOnly(to)) Fail("Replace", to, "access denied: the file is read-only");
  std::error_code error;
  fs::rename(from, to, error);
  if (error) Fail("Replace", from, error.message());
  if (fault) {
    calls_.back().failed = true;
    throw platform::UnconfirmedReplaceError("injected fault: Replace " + Quoted(from) + " unconfirmed");
  }
}

void FaultyFiles::AppendDurably(const fs::path& path, std::string_view bytes) {
  Enter(Operation::AppendDurably, path);
  if (ReadOnly(path)) Fail("AppendDurably", path, "access denied: the file is read-only");
  real_->AppendDurably(path, bytes);
}

std::unique_ptr<platform::FileLock> FaultyFiles::TryLock(const fs::path& path) {
  Enter(Operation::TryLock, path);
  return real_->TryLock(path);
}

void FaultyFiles::Rename(const fs::path& from, const fs::path& to) {
  Enter(Operation::Rename, from, to);
  std::error_code error;
  if (fs::exists(to, error)) Fail("Rename", to, "already exists");
  fs::rename(from, to, error);
  if (error) Fail("Rename", from, error.message());
}

void FaultyFiles::Delete(const fs::path& path) {
  Enter(Operation::Delete, path);
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) Fail("Delete", path, "no such file");
  if (fs::is_directory(status)) Fail("Delete", path, "is a folder");
  if (ReadOnly(path)) Fail("Delete", path, "access denied: the file is read-only");
  fs::remove(path, error);
  if (error) Fail("Delete", path, error.message());
}

void FaultyFiles::ClearReadOnly(const fs::path& path) {
  Enter(Operation::ClearReadOnly, path);
  std::error_code error;
  if (!fs::exists(path, error)) return;
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, error);
  if (error) Fail("ClearReadOnly", path, error.message());
}

std::vector<platform::FolderEntry> FaultyFiles::ListFolder(const fs::path& path) {
  Enter(Operation::ListFolder, path);
  std::error_code error;
  std::vector<platform::FolderEntry> entries;
  for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    entries.push_back({it->path().filename(), it->is_directory(ignored)});
  }
  if (error) Fail("ListFolder", path, error.message());
  std::sort(entries.begin(), entries.end(),
            [](const platform::FolderEntry& a, const platform::FolderEntry& b) { return a.name < b.name; });
  return entries;
}

bool FaultyFiles::CanWriteInFolder(const fs::path& path) {
  try {
    Enter(Operation::CanWriteInFolder, path);
  } catch (const platform::FileError&) {
    return false;
  }
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  return !error && fs::is_directory(status) && (status.permissions() & fs::perms::owner_write) != fs::perms::none;
}

void FaultyFiles::CreatePrivateFolder(const fs::path& path) {
  Enter(Operation::CreatePrivateFolder, path);
  real_->CreatePrivateFolder(path);
}

}  // namespace tasklane::testing
