// Reading pictures: JPEG through libjpeg, PNG through libpng, Windows bitmaps by our own
// reader (PictureFile.cpp and one reader per format).
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/Picture.h"

namespace tasklane::pictures {

using platform::Picture;
using platform::PictureError;

enum class PictureFormat { Jpeg, Png, Bmp };

// Decodes a whole file's bytes in the given format. Bytes that are not of that format, damaged
// or cut short, or a picture beyond the bound above throw PictureError with the reason.
Picture LoadPicture(std::string_view bytes, PictureFormat format);

// Reads and decodes a picture file whose format follows its name's extension, in any case:
// .jpg or .jpeg, .png, .bmp. Any other name, a missing or unreadable file and everything
// LoadPicture refuses throw PictureError naming the file and the reason.
Picture LoadPictureFile(const std::filesystem::path& path);

}  // namespace tasklane::pictures
