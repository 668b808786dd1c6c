#include "xml/XmlTree.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "xml/Charsets.h"
#include "xml/XmlNodePool.h"
#include "xml/XmlReader.h"
#include "xml/XmlWriter.h"

namespace tasklane::xml {
namespace {

std::u16string DisplayPath(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  if (error) full = path;
  const std::u8string utf8 = full.u8string();
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

std::u16string SystemErrorText(int code) {
  return FromUtf8(std::generic_category().message(code));
}

[[noreturn]] void FailOnFile(std::u16string_view what, const std::filesystem::path& path, int code) {
  throw XmlError(std::u16string(what) + u" file \"" + DisplayPath(path) + u"\". " + SystemErrorText(code));
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenFile(const std::filesystem::path& path, bool forWriting) {
#ifdef _WIN32
  return File(_wfopen(path.c_str(), forWriting ? L"wb" : L"rb"));
#else
  return File(std::fopen(path.c_str(), forWriting ? "wb" : "rb"));
#endif
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  errno = 0;
  File file = OpenFile(path, false);
  if (!file) FailOnFile(u"Cannot open", path, errno);
  std::string bytes;
  // One allocation for a file of known size; a file that grows meanwhile is still read whole.
  std::error_code unknown;
  const auto size = std::filesystem::file_size(path, unknown);
  if (!unknown) bytes.reserve(static_cast<std::size_t>(size) + 1);
  char chunk[65536];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, got);
  if (std::ferror(file.get())) FailOnFile(u"Cannot read", path, errno);
  return bytes;
}

}  // namespace

XmlTree::XmlTree() : root_(XmlNodeKind::Element) {}
XmlTree::~XmlTree() = default;

void XmlTree::Clear() {
  root_.Items().Clear();
  if (root_.PropertiesOrNull()) root_.Properties().Clear();
  prolog_.Clear();
  // Nothing made by the last load is left; its storage can go.
  if (pool_) pool_->Reset();
}

void XmlTree::LoadFromFile(const std::filesystem::path& path) {
  const std::string bytes = ReadWholeFile(path);
  LoadFromBytes(bytes);
}

void XmlTree::LoadFromBytes(std::string_view bytes, XmlRows* rows) {
  XmlSource source(bytes);
  ReadTree(*this, source, rows);
}

void XmlTree::LoadFromString(std::u16string_view text) {
  XmlSource source(text);
  ReadTree(*this, source);
}

// A write that fails half-way is reported too: a caller must never take a cut-off file for
// a saved one.
void XmlTree::SaveToFile(const std::filesystem::path& path) {
  std::error_code ignored;
  const bool existed = std::filesystem::exists(path, ignored);
  errno = 0;
  File file = OpenFile(path, true);
  if (!file) FailOnFile(existed ? u"Cannot open" : u"Cannot create", path, errno);
  bool failed = false;
  WriteTree(*this, [&](std::string_view bytes) {
    failed = failed || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size();
  });
  failed = std::fflush(file.get()) != 0 || failed;
  const int code = errno;
  if (std::fclose(file.release()) != 0 || failed) FailOnFile(u"Cannot write", path, code ? code : errno);
}

std::string XmlTree::SaveToBytes() {
  std::string bytes;
  WriteTree(*this, [&](std::string_view chunk) { bytes.append(chunk); });
  return bytes;
}

}  // namespace tasklane::xml
