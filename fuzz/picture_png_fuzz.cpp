// Feeds arbitrary bytes to the PNG decoder: our side of libpng, the error jumps, the expansion
// to RGBA and the size bound.
// Refusing them with PictureError is fine; any other exception, a crash or a sanitizer
// report is a finding, and so is a picture that breaks its own promises.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/Picture.h"

using tasklane::platform::kMaxPicturePixels;
using tasklane::platform::kMaxPictureSide;
using tasklane::platform::LoadPicture;
using tasklane::platform::Picture;
using tasklane::platform::PictureError;
using tasklane::platform::PictureFormat;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const Picture picture = LoadPicture(bytes, PictureFormat::Png);
    const std::int64_t width = picture.Width();
    const std::int64_t height = picture.Height();
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide ||
        width * height > kMaxPicturePixels ||
        picture.Pixels().size() != static_cast<std::size_t>(width * height)) {
      std::fprintf(stderr, "A decoded picture of %lld x %lld holds %zu pixels\n",
                   static_cast<long long>(width), static_cast<long long>(height), picture.Pixels().size());
      std::abort();
    }
    (void)picture.TransparentColor();
  } catch (const PictureError&) {
  }
  return 0;
}
