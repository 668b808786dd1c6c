// Picture files: the format from the name, the bytes from the disk, the decoding by format.
#include <algorithm>
#include <optional>
#include <string>
#include <system_error>

#include "platform/ShownPath.h"
#include "platform/Files.h"
#include "pictures/PictureFile.h"
#include "pictures/PictureReaders.h"

namespace tasklane::pictures {
namespace {

using platform::FileError;
using platform::MakeSystemFiles;
using platform::ShownPath;

namespace fs = std::filesystem;

const char* NameOf(PictureFormat format) {
  switch (format) {
    case PictureFormat::Jpeg:
      return "JPEG";
    case PictureFormat::Png:
      return "PNG";
    case PictureFormat::Bmp:
      return "bitmap";
  }
  return "picture";
}

// What each format's files begin with; the decoders check the rest.
bool StartsAs(std::string_view bytes, PictureFormat format) {
  switch (format) {
    case PictureFormat::Jpeg:
      return bytes.starts_with("\xFF\xD8");
    case PictureFormat::Png:
      return bytes.starts_with("\x89PNG\r\n\x1A\n");
    case PictureFormat::Bmp:
      return bytes.starts_with("BM");
  }
  return false;
}

[[noreturn]] void NotOfFormat(std::string_view bytes, PictureFormat format) {
  if (bytes.empty()) throw PictureError("There is no data: the picture is empty.");
  std::string reason = std::string("This is not a ") + NameOf(format) + " picture";
  for (const PictureFormat other : {PictureFormat::Jpeg, PictureFormat::Png, PictureFormat::Bmp}) {
    if (other != format && StartsAs(bytes, other)) {
      reason += std::string(" but a ") + NameOf(other) + " one";
      break;
    }
  }
  throw PictureError(reason + ".");
}

std::optional<PictureFormat> FormatOfName(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  if (extension == ".jpg" || extension == ".jpeg") return PictureFormat::Jpeg;
  if (extension == ".png") return PictureFormat::Png;
  if (extension == ".bmp") return PictureFormat::Bmp;
  return std::nullopt;
}

[[noreturn]] void FailFile(const fs::path& path, const std::string& reason) {
  throw PictureError("Cannot read the picture \"" + ShownPath(path) + "\". " + reason);
}

}  // namespace

Picture LoadPicture(std::string_view bytes, PictureFormat format) {
  if (!StartsAs(bytes, format)) NotOfFormat(bytes, format);
  switch (format) {
    case PictureFormat::Jpeg:
      return detail::ReadJpeg(bytes);
    case PictureFormat::Png:
      return detail::ReadPng(bytes);
    case PictureFormat::Bmp:
      return detail::ReadBmp(bytes);
  }
  throw PictureError("Unknown picture format.");
}

Picture LoadPictureFile(const fs::path& path) {
  const std::optional<PictureFormat> format = FormatOfName(path);
  if (!format) FailFile(path, "Only names ending in .jpg, .jpeg, .png or .bmp are pictures we read.");

  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  // Other failures to look, such as a folder we may not enter, are told by the read below.
  if (status.type() == fs::file_type::not_found) FailFile(path, "There is no such file.");
  if (fs::is_directory(status)) FailFile(path, "It is a folder, not a file.");
  std::string bytes;
  try {
    bytes = MakeSystemFiles()->ReadWhole(path);
  } catch (const FileError& e) {
    // Its message names the file and the system's reason already.
    throw PictureError(e.what());
  }
  try {
    return LoadPicture(bytes, *format);
  } catch (const PictureError& e) {
    FailFile(path, e.what());
  }
}

namespace detail {

void CheckPictureSize(std::int64_t width, std::int64_t height, std::string_view formatName) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (width <= 0 || height <= 0) {
    throw PictureError("The " + std::string(formatName) + " picture claims a size of " + size + " pixels.");
  }
  if (width > platform::kMaxPictureSide || height > platform::kMaxPictureSide ||
      width * height > platform::kMaxPicturePixels) {
    throw PictureError("The " + std::string(formatName) + " picture is too large: " + size +
                       " pixels, where " + std::to_string(platform::kMaxPictureSide) + " a side and " +
                       std::to_string(platform::kMaxPicturePixels) + " pixels in all are the most we read.");
  }
}

}  // namespace detail
}  // namespace tasklane::pictures
