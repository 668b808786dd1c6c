// The three decoders behind LoadPicture; only PictureFile.cpp and the readers include this.
// Each takes bytes already known to start with its format's signature and throws PictureError
// with a reason (no file name: the caller adds that).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "pictures/PictureFile.h"

namespace tasklane::pictures::detail {

using platform::AlphaOf;
using platform::Argb;
using platform::MakeArgb;

Picture ReadBmp(std::string_view bytes);
Picture ReadPng(std::string_view bytes);
Picture ReadJpeg(std::string_view bytes);

// Decodes the run-length coded pixels of a bitmap with 8 or 4 bits a pixel (`data` runs from
// the first code to the end of the file) into `pixels`, width * height values, top row first.
void DecodeBmpRle(std::string_view data, int bits, const std::vector<Argb>& palette, std::size_t width,
                  std::size_t height, Argb* pixels);

// Throws PictureError unless width and height are positive and within the bound of
// Picture.h. Every reader calls it on the header's figures before it allocates pixels.
void CheckPictureSize(std::int64_t width, std::int64_t height, std::string_view formatName);

}  // namespace tasklane::pictures::detail
