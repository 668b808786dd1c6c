// Decoded pictures: the frame pictures, the picture buttons and the pictures of a skin, as
// the canvas draws them. Reading them from files is pictures/PictureFile.h's business.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/Color.h"

namespace tasklane::platform {

// A picture that cannot be read: what() names the file (when there is one) and the reason.
class PictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The largest picture we decode. Our own pictures are a few hundred pixels wide; the bound
// keeps a damaged or hostile header from making us allocate gigabytes, and is checked before
// any pixel memory is taken. A picture may be at most 16384 pixels wide and 16384 high, and
// hold at most 32 Mi (33,554,432) pixels, that is 128 MiB of decoded pixels.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{32} << 20;

// One pixel as 0xAARRGGBB; alpha 255 is opaque, 0 fully transparent. Colour values are not
// premultiplied by alpha.
using Argb = std::uint32_t;

constexpr Argb MakeArgb(std::uint8_t alpha, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return Argb{alpha} << 24 | Argb{red} << 16 | Argb{green} << 8 | Argb{blue};
}
constexpr std::uint8_t AlphaOf(Argb pixel) { return static_cast<std::uint8_t>(pixel >> 24); }
constexpr Color ColorOf(Argb pixel) {
  return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
          static_cast<std::uint8_t>(pixel)};
}

class Picture {
 public:
  // An empty picture, 0 x 0, as a picture control holds before anything is loaded.
  Picture() = default;
  // `pixels` holds width * height values, row by row from the top, each row from the left;
  // anything else is a programming error and throws std::invalid_argument.
  Picture(int width, int height, std::vector<Argb> pixels, bool hasAlpha = false, bool twoColour = false);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsEmpty() const { return pixels_.empty(); }
  // The pixel at column x, row y (0, 0 is the top-left); std::out_of_range outside the picture.
  Argb Pixel(int x, int y) const;
  const std::vector<Argb>& Pixels() const { return pixels_; }

  // Whether the file carried an alpha channel (or, for PNG, a transparent colour); without
  // one every pixel is opaque.
  bool HasAlpha() const { return hasAlpha_; }
  // Whether this was a two-colour (1 bit per pixel) bitmap.
  bool IsTwoColour() const { return twoColour_; }
  // The colour left out when the picture is drawn transparent: that of the lower-left pixel,
  // but always white for a two-colour bitmap (and for an empty picture).
  Color TransparentColor() const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Argb> pixels_;
  bool hasAlpha_ = false;
  bool twoColour_ = false;
};

}  // namespace tasklane::platform
