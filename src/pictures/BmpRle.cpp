// Run-length coded bitmaps (RLE8 and RLE4): runs of one palette index or of two alternating
// ones, literal stretches, and escapes for the end of a row, the end of the picture and a jump
// ahead. Rows are stored from the bottom up.
#include <string>
#include <vector>

#include "pictures/PictureReaders.h"

namespace tasklane::pictures::detail {
namespace {

// NOTE: pixels that the codes jump over are left as they are, which Windows draws black; a
// fresh picture is black already.
constexpr Argb kSkipped = MakeArgb(255, 0, 0, 0);

class RleCanvas {
 public:
  RleCanvas(const std::vector<Argb>& palette, std::size_t width, std::size_t height, Argb* pixels)
      : palette_(palette), width_(width), height_(height), pixels_(pixels) {}

  // Pixels beyond the right edge or above the top row are dropped, as Windows drops them.
  void Put(unsigned index) {
    if (x_ < width_ && row_ < height_) {
      pixels_[(height_ - 1 - row_) * width_ + x_] = index < palette_.size() ? palette_[index] : kSkipped;
    }
    ++x_;
  }
  void NextRow() {
    x_ = 0;
    ++row_;
  }
  void Jump(unsigned right, unsigned up) {
    x_ += right;
    row_ += up;
  }

 private:
  const std::vector<Argb>& palette_;
  std::size_t width_;
  std::size_t height_;
  Argb* pixels_;
  std::size_t x_ = 0;
  std::size_t row_ = 0;
};

}  // namespace

void DecodeBmpRle(std::string_view data, int bits, const std::vector<Argb>& palette, std::size_t width,
                  std::size_t height, Argb* pixels) {
  for (std::size_t i = 0; i < width * height; ++i) pixels[i] = kSkipped;
  RleCanvas canvas(palette, width, height, pixels);
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  const std::size_t size = data.size();
  const auto cutShort = [] {
    return PictureError("The run-length coded bitmap is cut short before its end mark.");
  };

  // A nibble-coded picture takes two indices from each byte, the high one first.
  const auto index = [bits](unsigned byte, std::size_t n) {
    return bits == 8 ? byte : (n % 2 == 0 ? byte >> 4 : byte & 0x0F);
  };
  // Codes that run past the top row only drop their pixels: the end mark still has to come.
  std::size_t at = 0;
  for (;;) {
    if (size - at < 2) throw cutShort();
    const unsigned count = bytes[at];
    const unsigned code = bytes[at + 1];
    at += 2;
    if (count > 0) {
      for (std::size_t n = 0; n < count; ++n) canvas.Put(index(code, n));
    } else if (code == 0) {
      canvas.NextRow();
    } else if (code == 1) {
      return;
    } else if (code == 2) {
      if (size - at < 2) throw cutShort();
      canvas.Jump(bytes[at], bytes[at + 1]);
      at += 2;
    } else {
      // A literal stretch of `code` indices, padded to an even number of bytes.
      const std::size_t stored = bits == 8 ? code : (code + 1) / 2;
      const std::size_t padded = stored + stored % 2;
      if (size - at < padded) throw cutShort();
      for (std::size_t n = 0; n < code; ++n) canvas.Put(index(bytes[at + (bits == 8 ? n : n / 2)], n));
      at += padded;
    }
  }
}

}  // namespace tasklane::pictures::detail
