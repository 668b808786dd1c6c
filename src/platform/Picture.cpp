#include "platform/Picture.h"

#include <string>
#include <utility>

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

}  // namespace tasklane::platform
