#include "platform/Picture.h"

#include <string>
#include <utility>

#include "platform/PictureReaders.h"

namespace tasklane::platform {

Picture::Picture(int width, int height, std::vector<Argb> pixels, bool hasAlpha, bool twoColour)
    : width_(width), height_(height), pixels_(std::move(pixels)), hasAlpha_(hasAlpha), twoColour_(twoColour) {
  if (width < 0 || height < 0 ||
      pixels_.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    throw std::invalid_argument("A picture of " + std::to_string(width) + " x " + std::to_string(height) +
                                " pixels cannot hold " + std::to_string(pixels_.size()) + " pixels");
  }
}

Argb Picture::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) {
    throw std::out_of_range("Pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                            ") lies outside a picture of " + std::to_string(width_) + " x " +
                            std::to_string(height_));
  }
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

Color Picture::TransparentColor() const {
  if (twoColour_ || IsEmpty()) return {255, 255, 255};
  return ColorOf(Pixel(0, height_ - 1));
}

namespace detail {

void CheckPictureSize(std::int64_t width, std::int64_t height, std::string_view formatName) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (width <= 0 || height <= 0) {
    throw PictureError("The " + std::string(formatName) + " picture claims a size of " + size + " pixels.");
  }
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
    throw PictureError("The " + std::string(formatName) + " picture is too large: " + size +
                       " pixels, where " + std::to_string(kMaxPictureSide) + " a side and " +
                       std::to_string(kMaxPicturePixels) + " pixels in all are the most we read.");
  }
}

}  // namespace detail
}  // namespace tasklane::platform
