// Windows bitmaps, read by hand: the file header, then a BITMAPCOREHEADER (12 bytes), a
// BITMAPINFOHEADER (40) or one of its longer successors (52, 56, V4 108, V5 124); 1, 4, 8, 16,
// 24 or 32 bits a pixel, uncompressed, with bit-field masks or run-length coded (BmpRle.cpp).
// Every offset and length is checked against the data before it is read, in 64-bit
// arithmetic, so no header can make us read past the end.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "pictures/PictureReaders.h"

namespace tasklane::pictures::detail {
namespace {

constexpr std::uint64_t kFileHeaderSize = 14;

enum Compression : std::uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kJpeg = 4,
  kPng = 5,
  kAlphaBitFields = 6,
};

[[noreturn]] void Fail(const std::string& reason) { throw PictureError("The bitmap " + reason + "."); }

// Little-endian reads from the file's bytes; each caller has checked the range with Has().
class Bytes {
 public:
  explicit Bytes(std::string_view data) : data_(data) {}
  std::uint64_t Size() const { return data_.size(); }
  bool Has(std::uint64_t offset, std::uint64_t count) const {
    return offset <= data_.size() && count <= data_.size() - offset;
  }
  const unsigned char* At(std::uint64_t offset) const {
    return reinterpret_cast<const unsigned char*>(data_.data()) + offset;
  }
  std::uint32_t U8(std::uint64_t offset) const { return At(offset)[0]; }
  std::uint32_t U16(std::uint64_t offset) const { return U8(offset) | U8(offset + 1) << 8; }
  std::uint32_t U32(std::uint64_t offset) const { return U16(offset) | U16(offset + 2) << 16; }
  std::int32_t I32(std::uint64_t offset) const { return static_cast<std::int32_t>(U32(offset)); }

 private:
  std::string_view data_;
};

// One colour channel of a 16- or 32-bit pixel, from its mask: a run of set bits of any width.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint64_t maximum = 0;  // the largest value the run holds; 0 for a missing channel

  static Channel FromMask(std::uint32_t mask, const char* name) {
    Channel channel;
    if (mask == 0) return channel;
    channel.mask = mask;
    channel.shift = std::countr_zero(mask);
    channel.maximum = (std::uint64_t{1} << std::popcount(mask)) - 1;
    if ((mask >> channel.shift) != channel.maximum) {
      Fail(std::string("has a ") + name + " mask whose bits are not side by side");
    }
    return channel;
  }
  std::uint32_t Scaled(std::uint32_t pixel) const {
    const std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint32_t>((value * 255 + maximum / 2) / maximum);
  }
};

struct Layout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // always positive; topDown says which row comes first
  bool topDown = false;
  int bits = 0;
  std::uint32_t compression = kRgb;
  std::uint64_t colorsUsed = 0;
  std::uint64_t paletteAt = 0;
  int paletteEntrySize = 4;
  bool core = false;
  std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
  bool masksGiven = false;
};

Layout ReadHeaders(const Bytes& bytes) {
  if (!bytes.Has(0, kFileHeaderSize + 4)) Fail("ends within its file header");
  Layout layout;
  const std::uint64_t headerSize = bytes.U32(kFileHeaderSize);
  const std::uint64_t h = kFileHeaderSize;
  if (headerSize == 12) {
    if (!bytes.Has(h, headerSize)) Fail("ends within its header");
    layout.core = true;
    layout.width = bytes.U16(h + 4);
    layout.height = bytes.U16(h + 6);
    layout.bits = static_cast<int>(bytes.U16(h + 10));
    layout.paletteEntrySize = 3;
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
             headerSize == 124) {
    if (!bytes.Has(h, headerSize)) Fail("ends within its header");
    layout.width = bytes.I32(h + 4);
    const std::int64_t height = bytes.I32(h + 8);
    layout.topDown = height < 0;
    layout.height = height < 0 ? -height : height;
    layout.bits = static_cast<int>(bytes.U16(h + 14));
    layout.compression = bytes.U32(h + 16);
    layout.colorsUsed = bytes.U32(h + 32);
  } else {
    Fail("has a header of " + std::to_string(headerSize) + " bytes, which is none we know");
  }
  layout.paletteAt = h + headerSize;

  switch (layout.compression) {
    case kRgb:
    case kBitFields:
    case kAlphaBitFields:
    case kRle8:
    case kRle4:
      break;
    case kJpeg:
    case kPng:
      Fail("holds a JPEG or PNG picture inside, which we do not read");
    default:
      Fail("uses compression " + std::to_string(layout.compression) + ", which is none we know");
  }
  const int b = layout.bits;
  const bool known = layout.core ? (b == 1 || b == 4 || b == 8 || b == 24)
                                 : (b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32);
  if (!known) Fail("has " + std::to_string(b) + " bits a pixel, which is none we know");
  if (layout.compression == kRle8 || layout.compression == kRle4) {
    const int codedBits = layout.compression == kRle8 ? 8 : 4;
    if (b != codedBits)
      Fail("is run-length coded for " + std::to_string(codedBits) + " bits but has " + std::to_string(b));
    if (layout.topDown) Fail("is run-length coded from the top down, which no bitmap may be");
    return layout;
  }
  if (layout.compression != kRgb && b != 16 && b != 32)
    Fail("has bit-field masks but " + std::to_string(b) + " bits a pixel");

  if (layout.compression != kRgb) {
    const int count = layout.compression == kAlphaBitFields ? 4 : 3;
    // After the plain 40-byte header the masks follow it; the longer headers hold them. Both
    // ways they start 40 bytes into the header.
    const std::uint64_t masksAt = h + 40;
    if (!bytes.Has(masksAt, 4 * static_cast<std::uint64_t>(count))) Fail("ends within its colour masks");
    for (int i = 0; i < count; ++i)
      layout.masks[static_cast<std::size_t>(i)] = bytes.U32(masksAt + 4 * static_cast<std::uint64_t>(i));
    if (headerSize >= 56) layout.masks[3] = bytes.U32(h + 52);
    layout.masksGiven = true;
  }
  return layout;
}

std::vector<Argb> ReadPalette(const Bytes& bytes, const Layout& layout) {
  if (layout.bits > 8) return {};
  const std::uint64_t most = std::uint64_t{1} << layout.bits;
  // A count beyond what the pixels can index is taken as the full count: the rest is unused.
  const std::uint64_t count = layout.colorsUsed == 0 ? most : std::min(layout.colorsUsed, most);
  const auto entry = static_cast<std::uint64_t>(layout.paletteEntrySize);
  if (!bytes.Has(layout.paletteAt, count * entry)) Fail("ends within its palette");
  std::vector<Argb> palette;
  for (std::uint64_t i = 0; i < count; ++i) {
    const unsigned char* p = bytes.At(layout.paletteAt + i * entry);
    palette.push_back(MakeArgb(255, p[2], p[1], p[0]));
  }
  return palette;
}

// Turns one stored row into pixels. Rows of palette indices look the colours up; the wider
// pixels go through their masks.
class RowDecoder {
 public:
  RowDecoder(const Layout& layout, std::vector<Argb> palette)
      : layout_(layout), palette_(std::move(palette)) {
    std::array<std::uint32_t, 4> masks = layout.masks;
    if (!layout.masksGiven) {
      masks = layout.bits == 16 ? std::array<std::uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0}
                                : std::array<std::uint32_t, 4>{0xFF0000, 0x00FF00, 0x0000FF, 0};
      // NOTE: an uncompressed 32-bit bitmap calls its fourth byte reserved, yet many programs
      // store alpha there; we take it as alpha unless it is 0 throughout (ReadBmp checks that).
      if (layout.bits == 32) masks[3] = 0xFF000000;
    }
    red_ = Channel::FromMask(masks[0], "red");
    green_ = Channel::FromMask(masks[1], "green");
    blue_ = Channel::FromMask(masks[2], "blue");
    alpha_ = Channel::FromMask(masks[3], "alpha");
  }

  const std::vector<Argb>& Palette() const { return palette_; }
  bool HasAlphaChannel() const { return alpha_.maximum != 0 && layout_.bits >= 16; }

  void Decode(const unsigned char* row, Argb* out) const {
    const auto width = static_cast<std::size_t>(layout_.width);
    switch (layout_.bits) {
      case 1:
      case 4:
      case 8: {
        const unsigned bits = static_cast<unsigned>(layout_.bits);
        const unsigned perByte = 8 / bits;
        const unsigned valueMask = (1u << bits) - 1;
        for (std::size_t x = 0; x < width; ++x) {
          const unsigned shift = 8 - bits * (1 + static_cast<unsigned>(x % perByte));
          const std::size_t index = (row[x / perByte] >> shift) & valueMask;
          // An index past a short palette shows black, as Windows draws it.
          out[x] = index < palette_.size() ? palette_[index] : MakeArgb(255, 0, 0, 0);
        }
        break;
      }
      case 16:
        for (std::size_t x = 0; x < width; ++x)
          out[x] = FromMasks(row[2 * x] | std::uint32_t{row[2 * x + 1]} << 8);
        break;
      case 24:
        for (std::size_t x = 0; x < width; ++x)
          out[x] = MakeArgb(255, row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        break;
      default:
        for (std::size_t x = 0; x < width; ++x) {
          const unsigned char* p = row + 4 * x;
          out[x] = FromMasks(p[0] | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
                             std::uint32_t{p[3]} << 24);
        }
    }
  }

 private:
  Argb FromMasks(std::uint32_t value) const {
    const auto part = [value](const Channel& c) { return c.maximum == 0 ? 0u : c.Scaled(value); };
    const std::uint32_t alpha = alpha_.maximum == 0 ? 255u : alpha_.Scaled(value);
    return alpha << 24 | part(red_) << 16 | part(green_) << 8 | part(blue_);
  }

  const Layout& layout_;
  std::vector<Argb> palette_;
  Channel red_, green_, blue_, alpha_;
};

Picture ReadRle(const Bytes& bytes, const Layout& layout, std::uint64_t pixelsAt, const RowDecoder& decoder) {
  if (!bytes.Has(pixelsAt, 0)) Fail("has its pixels beyond its end");
  const auto width = static_cast<std::size_t>(layout.width);
  const auto height = static_cast<std::size_t>(layout.height);
  std::vector<Argb> pixels(width * height);
  const std::string_view coded(reinterpret_cast<const char*>(bytes.At(pixelsAt)), bytes.Size() - pixelsAt);
  DecodeBmpRle(coded, layout.bits, decoder.Palette(), width, height, pixels.data());
  return Picture(static_cast<int>(width), static_cast<int>(height), std::move(pixels));
}

}  // namespace

Picture ReadBmp(std::string_view data) {
  const Bytes bytes(data);
  const Layout layout = ReadHeaders(bytes);
  CheckPictureSize(layout.width, layout.height, "bitmap");
  const RowDecoder decoder(layout, ReadPalette(bytes, layout));

  const std::uint64_t pixelsAt = bytes.U32(10);
  if (layout.compression == kRle8 || layout.compression == kRle4)
    return ReadRle(bytes, layout, pixelsAt, decoder);
  const std::uint64_t stride =
      (static_cast<std::uint64_t>(layout.width) * static_cast<std::uint64_t>(layout.bits) + 31) / 32 * 4;
  const std::uint64_t needed = stride * static_cast<std::uint64_t>(layout.height);
  if (!bytes.Has(pixelsAt, needed)) {
    Fail("is cut short: its pixels need " + std::to_string(needed) + " bytes from byte " +
         std::to_string(pixelsAt) + ", and the data has " + std::to_string(bytes.Size()) + " bytes");
  }

  const auto width = static_cast<std::size_t>(layout.width);
  const auto height = static_cast<std::size_t>(layout.height);
  std::vector<Argb> pixels(width * height);
  for (std::size_t stored = 0; stored < height; ++stored) {
    const std::size_t y = layout.topDown ? stored : height - 1 - stored;
    decoder.Decode(bytes.At(pixelsAt + stored * stride), pixels.data() + y * width);
  }

  bool hasAlpha = decoder.HasAlphaChannel();
  if (hasAlpha && !layout.masksGiven &&
      std::all_of(pixels.begin(), pixels.end(), [](Argb p) { return AlphaOf(p) == 0; })) {
    hasAlpha = false;
    for (Argb& p : pixels) p |= 0xFF000000u;
  }
  return Picture(static_cast<int>(width), static_cast<int>(height), std::move(pixels), hasAlpha,
                 layout.bits == 1);
}

}  // namespace tasklane::pictures::detail
