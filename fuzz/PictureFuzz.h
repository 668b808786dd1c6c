// What every picture fuzz target checks. Refusing the bytes with PictureError is fine; any
// other exception, a crash or a sanitizer report is a finding, and so is a picture that
// breaks its own promises.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "pictures/PictureFile.h"

namespace tasklane::fuzz {

inline int FuzzPicture(const std::uint8_t* data, std::size_t size, pictures::PictureFormat format) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const platform::Picture picture = pictures::LoadPicture(bytes, format);
    const std::int64_t width = picture.Width();
    const std::int64_t height = picture.Height();
    if (width < 1 || height < 1 || width > platform::kMaxPictureSide || height > platform::kMaxPictureSide ||
        width * height > platform::kMaxPicturePixels ||
        picture.Pixels().size() != static_cast<std::size_t>(width * height)) {
      std::fprintf(stderr, "A decoded picture of %lld x %lld holds %zu pixels\n", static_cast<long long>(width),
                   static_cast<long long>(height), picture.Pixels().size());
      std::abort();
    }
    (void)picture.TransparentColor();
  } catch (const platform::PictureError&) {
  }
  return 0;
}

}  // namespace tasklane::fuzz
