// Picture decoding. Every file is made here: bitmaps by a small writer of our own, JPEG and
// PNG by libjpeg's and libpng's encoders, so each case shows what it feeds the decoder.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>
#include <zlib.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "pictures/PictureFile.h"

namespace tasklane::pictures {

using platform::Argb;
using platform::MakeArgb;
using platform::AlphaOf;
using platform::Color;
using platform::ColorOf;
using platform::kMaxPicturePixels;
using platform::kMaxPictureSide;
namespace {

namespace fs = std::filesystem;

// The message of the PictureError that `action` throws; a test failure when it throws none.
template <class Action>
std::string PictureErrorOf(Action action) {
  try {
    action();
  } catch (const PictureError& e) {
    EXPECT_NE(std::string(e.what()), "");
    return e.what();
  }
  ADD_FAILURE() << "no PictureError thrown";
  return "";
}

// The reason LoadPicture gives for refusing `bytes`.
std::string Refusal(const std::string& bytes, PictureFormat format) {
  return PictureErrorOf([&] { LoadPicture(bytes, format); });
}

// Whether a refusal's message says what it should; on failure the whole message is shown.
::testing::AssertionResult Mentions(const std::string& message, const std::string& part) {
  if (message.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << message << "\" does not mention \"" << part << "\"";
}

void Put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A string literal's bytes, zeros included, without the terminating one.
template <std::size_t N>
std::string Binary(const char (&bytes)[N]) {
  return std::string(bytes, N - 1);
}

// ---- Windows bitmaps, written by hand ----

struct Bitmap {
  int headerSize = 40;  // 12, 40, 108 or 124
  int width = 1;
  int height = 1;  // negative: the top row is stored first
  int bits = 24;
  std::uint32_t compression = 0;  // 0 uncompressed, 1 and 2 run-length coded, 3 and 6 bit fields
  std::uint32_t colorsUsed = 0;
  std::vector<std::uint32_t> palette{};  // 0xRRGGBB
  std::vector<std::uint32_t> masks{};    // red, green, blue[, alpha]
  std::vector<std::uint32_t> values{};   // top row first: palette indices or stored pixel values
  std::string coded{};                   // run-length codes, stored instead of the values
};

std::string WriteBmp(const Bitmap& b) {
  std::string header;
  Put32(header, static_cast<std::uint32_t>(b.headerSize));
  if (b.headerSize == 12) {
    Put16(header, static_cast<std::uint32_t>(b.width));
    Put16(header, static_cast<std::uint32_t>(b.height));
    Put16(header, 1);
    Put16(header, static_cast<std::uint32_t>(b.bits));
  } else {
    for (const int v : {b.width, b.height}) Put32(header, static_cast<std::uint32_t>(v));
    Put16(header, 1);
    Put16(header, static_cast<std::uint32_t>(b.bits));
    for (const std::uint32_t v : {b.compression, 0u, 2835u, 2835u, b.colorsUsed, 0u}) Put32(header, v);
  }
  std::string masks;
  for (const std::uint32_t m : b.masks) Put32(masks, m);
  if (b.headerSize > 40) {
    masks.resize(static_cast<std::size_t>(b.headerSize - 40), '\0');
    header += masks;
  } else {
    header.resize(static_cast<std::size_t>(b.headerSize), '\0');
    header += masks;
  }
  for (const std::uint32_t c : b.palette) {
    header += {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF), static_cast<char>(c >> 16)};
    if (b.headerSize != 12) header += '\0';
  }

  const int rows = b.height < 0 ? -b.height : b.height;
  const std::size_t stride = (static_cast<std::size_t>(b.width * b.bits) + 31) / 32 * 4;
  std::string pixels = b.coded;
  for (int stored = 0; stored < rows && b.coded.empty(); ++stored) {
    const int y = b.height < 0 ? stored : rows - 1 - stored;
    std::string row(stride, '\0');
    for (int x = 0; x < b.width; ++x) {
      const std::uint32_t v = b.values.at(static_cast<std::size_t>(y * b.width + x));
      if (b.bits < 8) {
        const int bit = x * b.bits;
        row[static_cast<std::size_t>(bit / 8)] |= static_cast<char>(v << (8 - b.bits - bit % 8));
      } else {
        for (int i = 0; i < b.bits / 8; ++i)
          row[static_cast<std::size_t>(x * b.bits / 8 + i)] = static_cast<char>(v >> (8 * i));
      }
    }
    pixels += row;
  }
  std::string file = "BM";
  Put32(file, static_cast<std::uint32_t>(14 + header.size() + pixels.size()));
  Put32(file, 0);
  Put32(file, static_cast<std::uint32_t>(14 + header.size()));
  return file + header + pixels;
}

Picture Bmp(const Bitmap& b) { return LoadPicture(WriteBmp(b), PictureFormat::Bmp); }

std::vector<Argb> AllPixels(const Picture& p) {
  std::vector<Argb> all;
  for (int y = 0; y < p.Height(); ++y) {
    for (int x = 0; x < p.Width(); ++x) all.push_back(p.Pixel(x, y));
  }
  return all;
}

// What the k-th sample pixel is stored as at a bit depth, and the colour it must decode to.
struct Sample {
  std::uint32_t stored;
  Argb expected;
};
Sample SampleAt(int bits, int k, const std::vector<std::uint32_t>& palette) {
  if (bits <= 8) {
    const auto index = static_cast<std::uint32_t>(k) % palette.size();
    return {static_cast<std::uint32_t>(index), 0xFF000000u | palette[index]};
  }
  if (bits == 16) {  // 5-5-5: fives of 0, 16 and 31 read as 0, 132 and 255
    const std::array<std::uint32_t, 3> fives{0, 16, 31};
    const std::array<std::uint8_t, 3> eights{0, 132, 255};
    const std::size_t r = static_cast<std::size_t>(k) % 3, g = (r + 1) % 3, b = (r + 2) % 3;
    return {fives[r] << 10 | fives[g] << 5 | fives[b], MakeArgb(255, eights[r], eights[g], eights[b])};
  }
  const auto c = static_cast<std::uint8_t>(40 * k);
  const Argb rgb = MakeArgb(0, c, static_cast<std::uint8_t>(255 - c), static_cast<std::uint8_t>(7 * k));
  return {rgb, rgb | 0xFF000000u};  // a 32-bit pixel's fourth byte stays 0: no alpha
}

TEST(PictureBmpTest, ReadsEveryBitDepthBothWaysUpWithRowPadding) {
  for (const int bits : {1, 4, 8, 16, 24, 32}) {
    std::vector<std::uint32_t> palette{};
    if (bits <= 8) {
      for (std::uint32_t i = 0; i < (1u << bits); ++i)
        palette.push_back((i * 37 % 256) << 16 | (i * 91 % 256) << 8 | (255 - i));
    }
    for (const int width : {1, 3, 5}) {
      for (const bool topDown : {false, true}) {
        SCOPED_TRACE(std::to_string(bits) + " bits, " + std::to_string(width) + " wide" +
                     (topDown ? ", top-down" : ""));
        Bitmap b{.width = width, .height = topDown ? -3 : 3, .bits = bits, .palette = palette};
        std::vector<Argb> expected;
        for (int k = 0; k < width * 3; ++k) {
          const Sample s = SampleAt(bits, k * 5 + 1, palette);
          b.values.push_back(s.stored);
          expected.push_back(s.expected);
        }
        const Picture picture = Bmp(b);
        EXPECT_EQ(picture.Width(), width);
        EXPECT_EQ(picture.Height(), 3);
        EXPECT_EQ(AllPixels(picture), expected);
        EXPECT_FALSE(picture.HasAlpha());
        EXPECT_EQ(picture.IsTwoColour(), bits == 1);
      }
    }
  }
}

TEST(PictureBmpTest, PaletteHoldsAsManyColoursAsTheHeaderSays) {
  // Three colours instead of 256: the pixels start right after them.
  Bitmap b{.width = 4,
           .height = 1,
           .bits = 8,
           .colorsUsed = 3,
           .palette = {0xFF0000, 0x00FF00, 0x0000FF},
           .values = {2, 1, 0, 7}};
  // An index past the short palette shows black.
  EXPECT_EQ(AllPixels(Bmp(b)), (std::vector<Argb>{0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF000000}));

  // The old 12-byte header has three-byte palette entries.
  Bitmap core{.headerSize = 12, .width = 2, .height = 2, .bits = 4, .values = {1, 0, 0, 1}};
  core.palette.assign(16, 0x123456);
  core.palette[1] = 0xABCDEF;
  EXPECT_EQ(AllPixels(Bmp(core)), (std::vector<Argb>{0xFFABCDEF, 0xFF123456, 0xFF123456, 0xFFABCDEF}));
  Bitmap core24{.headerSize = 12, .width = 1, .height = 2, .bits = 24, .values = {0x102030, 0x405060}};
  EXPECT_EQ(AllPixels(Bmp(core24)), (std::vector<Argb>{0xFF102030, 0xFF405060}));
}

TEST(PictureBmpTest, BitFieldMasksOfAnyWidth) {
  Bitmap rgb565{.width = 3, .height = 1, .bits = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}};
  rgb565.values = {0xF800, 0x07E0, 16u << 11 | 32u << 5 | 31u};
  EXPECT_EQ(AllPixels(Bmp(rgb565)),
            (std::vector<Argb>{0xFFFF0000, 0xFF00FF00, MakeArgb(255, 132, 130, 255)}));

  // 4-4-4-4 with alpha, in a V4 header.
  Bitmap argb4444{.headerSize = 108,
                  .width = 2,
                  .height = 1,
                  .bits = 16,
                  .compression = 3,
                  .masks = {0x0F00, 0x00F0, 0x000F, 0xF000},
                  .values = {0x8F00, 0x00F0}};
  const Picture p4444 = Bmp(argb4444);
  EXPECT_TRUE(p4444.HasAlpha());
  EXPECT_EQ(AllPixels(p4444), (std::vector<Argb>{MakeArgb(136, 255, 0, 0), MakeArgb(0, 0, 255, 0)}));

  // 10-10-10-2 in 32 bits, the masks after a plain 40-byte header; no alpha mask there.
  Bitmap rgb10{.width = 1,
               .height = 1,
               .bits = 32,
               .compression = 3,
               .masks = {0x3FF00000, 0x000FFC00, 0x000003FF},
               .values = {1023u << 20 | 512u << 10 | 0u | 0xC0000000u}};
  const Picture p10 = Bmp(rgb10);
  EXPECT_FALSE(p10.HasAlpha());
  EXPECT_EQ(p10.Pixel(0, 0), MakeArgb(255, 255, 128, 0));

  // Alpha bit fields after a 40-byte header: a two-bit alpha of 1 and 2.
  Bitmap alpha2{.width = 2,
                .height = 1,
                .bits = 32,
                .compression = 6,
                .masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000},
                .values = {0x40000000, 0x800003FF}};
  EXPECT_EQ(AllPixels(Bmp(alpha2)), (std::vector<Argb>{MakeArgb(85, 0, 0, 0), MakeArgb(170, 0, 0, 255)}));
}

TEST(PictureBmpTest, AlphaOf32BitPicturesIsKept) {
  // A V5 header with an alpha mask, as image editors write them.
  Bitmap v5{.headerSize = 124,
            .width = 2,
            .height = 1,
            .bits = 32,
            .compression = 3,
            .masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
            .values = {0x80FF0000, 0x00000000}};
  const Picture withMask = Bmp(v5);
  EXPECT_TRUE(withMask.HasAlpha());
  EXPECT_EQ(AllPixels(withMask), (std::vector<Argb>{0x80FF0000, 0x00000000}));

  // Uncompressed 32 bits: the fourth byte is alpha when anything is stored there ...
  Bitmap plain{.width = 2, .height = 1, .bits = 32, .values = {0x4000FF00, 0xFF0000FF}};
  const Picture withAlpha = Bmp(plain);
  EXPECT_TRUE(withAlpha.HasAlpha());
  EXPECT_EQ(AllPixels(withAlpha), (std::vector<Argb>{0x4000FF00, 0xFF0000FF}));
  // ... and the picture is opaque when it is 0 throughout.
  plain.values = {0x0000FF00, 0x000000FF};
  const Picture opaque = Bmp(plain);
  EXPECT_FALSE(opaque.HasAlpha());
  EXPECT_EQ(AllPixels(opaque), (std::vector<Argb>{0xFF00FF00, 0xFF0000FF}));
}

TEST(PictureBmpTest, TransparentColourIsTheLowerLeftPixelOrWhite) {
  for (const int height : {2, -2}) {
    Bitmap b{.width = 2, .height = height, .bits = 24, .values = {0x111111, 0x222222, 0x336699, 0x444444}};
    const Picture picture = Bmp(b);
    EXPECT_EQ(picture.TransparentColor(), (Color{0x33, 0x66, 0x99})) << height;
  }
  Bitmap twoColour{
      .width = 2, .height = 2, .bits = 1, .palette = {0x000000, 0xFF0000}, .values = {1, 1, 0, 1}};
  const Picture picture = Bmp(twoColour);
  EXPECT_TRUE(picture.IsTwoColour());
  EXPECT_EQ(ColorOf(picture.Pixel(0, 1)), (Color{0, 0, 0}));
  EXPECT_EQ(picture.TransparentColor(), (Color{255, 255, 255}));
}

TEST(PictureBmpTest, RefusesWhatItCannotReadWithAReason) {
  const Bitmap good{.width = 2, .height = 2, .bits = 8, .colorsUsed = 2, .palette = {0, 0xFFFFFF}};
  struct Case {
    void (*change)(Bitmap&);
    const char* reason;
  };
  const Case cases[] = {
      {[](Bitmap& b) { b.bits = 24, b.compression = 1; }, "coded for 8 bits but has 24"},
      {[](Bitmap& b) { b.compression = 2; }, "coded for 4 bits but has 8"},
      {[](Bitmap& b) {
         b.compression = 1, b.height = -2, b.coded = {0, 1};
       },
       "top down"},
      {[](Bitmap& b) { b.compression = 9; }, "compression 9"},
      {[](Bitmap& b) { b.bits = 2; }, "2 bits"},
      {[](Bitmap& b) { b.headerSize = 64; }, "64 bytes"},
      {[](Bitmap& b) { b.width = 0; }, "0 x 2"},
      {[](Bitmap& b) {
         b.bits = 24, b.compression = 3, b.masks = {0xFF, 0xFF00, 0xFF0000};
       },
       "masks"},
      {[](Bitmap& b) {
         b.bits = 16, b.compression = 3, b.masks = {0x0505, 0xF0, 0x0F00};
       },
       "red mask"},
  };
  for (const Case& c : cases) {
    Bitmap b = good;
    b.values = {0, 1, 1, 0};
    c.change(b);
    EXPECT_TRUE(Mentions(Refusal(WriteBmp(b), PictureFormat::Bmp), c.reason));
  }

  Bitmap small = good;
  small.values = {0, 1, 1, 0};
  std::string huge = WriteBmp(small);
  huge.replace(18, 8, "\xA0\x86\x01\x00\xA0\x86\x01\x00", 8);  // 100000 x 100000
  EXPECT_TRUE(Mentions(Refusal(huge, PictureFormat::Bmp), "too large: 100000 x 100000"));
  std::string tall = WriteBmp(small);
  tall.replace(22, 4, "\x00\x00\x00\x80", 4);  // the most negative height
  EXPECT_TRUE(Mentions(Refusal(tall, PictureFormat::Bmp), "too large"));
  std::string farPixels = WriteBmp(small);
  farPixels.replace(10, 4, "\xFF\xFF\xFF\xFF", 4);
  EXPECT_TRUE(Mentions(Refusal(farPixels, PictureFormat::Bmp), "cut short"));
}

TEST(PictureBmpTest, RunLengthCodedPictures) {
  const std::vector<std::uint32_t> palette{0x000080, 0x008000, 0x800000};
  // From the bottom row: a run of three, a literal of three (one beyond the edge), the end of
  // the row; a jump over the middle row to the third pixel of the top row; a run of two.
  const std::string rle8 = Binary(
      "\x03\x01"
      "\x00\x03\x02\x00\x01\x00"
      "\x00\x00"
      "\x00\x02\x02\x01"
      "\x02\x02"
      "\x00\x01");
  const Bitmap coded8{.width = 5,
                      .height = 3,
                      .bits = 8,
                      .compression = 1,
                      .colorsUsed = 3,
                      .palette = palette,
                      .coded = rle8};
  const Argb k = 0xFF000000, a = 0xFF000080, g = 0xFF008000, r = 0xFF800000;
  EXPECT_EQ(AllPixels(Bmp(coded8)), (std::vector<Argb>{k, k, r, r, k, k, k, k, k, k, g, g, g, r, a}));

  // Four bits: a run alternates two indices; a literal of five nibbles takes four bytes.
  const std::string rle4 = Binary(
      "\x04\x12"
      "\x00\x00"
      "\x00\x05\x12\x20\x10\x00"
      "\x00\x01");
  std::vector<std::uint32_t> palette16 = palette;
  palette16.resize(16, 0xFFFFFF);
  const Bitmap coded4{
      .width = 5, .height = 2, .bits = 4, .compression = 2, .palette = palette16, .coded = rle4};
  EXPECT_EQ(AllPixels(Bmp(coded4)), (std::vector<Argb>{g, r, r, a, g, g, r, g, r, k}));

  // Without its end mark a coded picture is cut short, wherever it is cut.
  const std::string bytes = WriteBmp(coded8);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    SCOPED_TRACE("first " + std::to_string(n) + " bytes");
    Refusal(bytes.substr(0, n), PictureFormat::Bmp);
  }
}

TEST(PictureBmpTest, EveryCutOffFileIsRefused) {
  const Bitmap palette{.width = 3,
                       .height = 2,
                       .bits = 4,
                       .colorsUsed = 3,
                       .palette = {0, 0xFF, 0xFF00},
                       .values = {0, 1, 2, 2, 1, 0}};
  const Bitmap fields{.headerSize = 108,
                      .width = 3,
                      .height = -2,
                      .bits = 16,
                      .compression = 3,
                      .masks = {0xF800, 0x07E0, 0x001F},
                      .values = {1, 2, 3, 4, 5, 6}};
  for (const Bitmap& b : {palette, fields}) {
    const std::string bytes = WriteBmp(b);
    ASSERT_NO_THROW(LoadPicture(bytes, PictureFormat::Bmp));
    for (std::size_t n = 0; n < bytes.size(); ++n) {
      SCOPED_TRACE("first " + std::to_string(n) + " bytes");
      Refusal(bytes.substr(0, n), PictureFormat::Bmp);
    }
  }
}

// ---- PNG, written by libpng ----

struct PngPicture {
  int width = 1;
  int height = 1;
  int colorType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<png_color> palette{};
  std::vector<png_byte> paletteAlpha{};            // tRNS of a palette picture
  std::optional<png_color_16> transparentValue{};  // tRNS of a gray or RGB picture
  std::vector<std::vector<unsigned char>> rows{};  // as libpng takes them: packed, 16 bits big-endian
};

std::string EncodePng(PngPicture p) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &out,
      [](png_structp w, png_bytep data, std::size_t n) {
        static_cast<std::string*>(png_get_io_ptr(w))->append(reinterpret_cast<const char*>(data), n);
      },
      [](png_structp) {});
  png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height), p.bitDepth,
               p.colorType, p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!p.palette.empty()) png_set_PLTE(png, info, p.palette.data(), static_cast<int>(p.palette.size()));
  if (!p.paletteAlpha.empty())
    png_set_tRNS(png, info, p.paletteAlpha.data(), static_cast<int>(p.paletteAlpha.size()), nullptr);
  if (p.transparentValue) png_set_tRNS(png, info, nullptr, 0, &*p.transparentValue);
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (auto& row : p.rows) rows.push_back(row.data());
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Picture Png(const PngPicture& p) { return LoadPicture(EncodePng(p), PictureFormat::Png); }

// Puts right the CRC of the chunk whose type starts at `type`, after a test changed its data.
void FixCrc(std::string& png, std::size_t type) {
  const auto* at = reinterpret_cast<const unsigned char*>(png.data());
  const std::uint32_t length = std::uint32_t{at[type - 4]} << 24 | std::uint32_t{at[type - 3]} << 16 |
                               std::uint32_t{at[type - 2]} << 8 | at[type - 1];
  const auto crc = static_cast<std::uint32_t>(crc32(0, at + type, length + 4));
  for (int i = 0; i < 4; ++i)
    png[type + 4 + length + static_cast<std::size_t>(i)] = static_cast<char>(crc >> (24 - 8 * i));
}

const PngPicture kRgb{
    .width = 3, .height = 2, .rows = {{255, 0, 0, 0, 255, 0, 0, 0, 255}, {1, 2, 3, 4, 5, 6, 7, 8, 9}}};

TEST(PicturePngTest, ReadsColourPicturesWithAndWithoutAlpha) {
  const Picture rgb = Png(kRgb);
  EXPECT_EQ(rgb.Width(), 3);
  EXPECT_EQ(rgb.Height(), 2);
  EXPECT_FALSE(rgb.HasAlpha());
  EXPECT_EQ(AllPixels(rgb),
            (std::vector<Argb>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF010203, 0xFF040506, 0xFF070809}));
  EXPECT_EQ(rgb.TransparentColor(), (Color{1, 2, 3}));

  const Picture rgba = Png({.width = 2,
                            .height = 1,
                            .colorType = PNG_COLOR_TYPE_RGBA,
                            .rows = {{10, 20, 30, 0, 40, 50, 60, 128}}});
  EXPECT_TRUE(rgba.HasAlpha());
  EXPECT_EQ(AllPixels(rgba), (std::vector<Argb>{0x000A141E, 0x8028323C}));

  // 16 bits a channel come down to 8.
  const Picture deep =
      Png({.colorType = PNG_COLOR_TYPE_RGB, .bitDepth = 16, .rows = {{0xFF, 0xFF, 0x00, 0x00, 0x12, 0x34}}});
  EXPECT_EQ(deep.Pixel(0, 0), 0xFFFF0012u);

  // An interlaced picture decodes to the same pixels.
  PngPicture interlaced = kRgb;
  interlaced.interlaced = true;
  EXPECT_EQ(AllPixels(Png(interlaced)), AllPixels(rgb));
}

TEST(PicturePngTest, PaletteAndGrayPicturesExpandToColour) {
  // Four bits a pixel, two of the three colours partly or wholly transparent.
  const PngPicture palette{.width = 3,
                           .height = 1,
                           .colorType = PNG_COLOR_TYPE_PALETTE,
                           .bitDepth = 4,
                           .palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}},
                           .paletteAlpha = {0, 128},
                           .rows = {{0x01, 0x20}}};
  const Picture fromPalette = Png(palette);
  EXPECT_TRUE(fromPalette.HasAlpha());
  EXPECT_EQ(AllPixels(fromPalette), (std::vector<Argb>{0x00FF0000, 0x8000FF00, 0xFF0000FF}));

  const Picture gray = Png({.width = 2, .colorType = PNG_COLOR_TYPE_GRAY, .rows = {{0x00, 0x7F}}});
  EXPECT_FALSE(gray.HasAlpha());
  EXPECT_EQ(AllPixels(gray), (std::vector<Argb>{0xFF000000, 0xFF7F7F7F}));

  const Picture oneBit =
      Png({.width = 3, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1, .rows = {{0b10100000}}});
  EXPECT_EQ(AllPixels(oneBit), (std::vector<Argb>{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}));

  const Picture gray16 =
      Png({.width = 1, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 16, .rows = {{0x80, 0x80}}});
  EXPECT_EQ(gray16.Pixel(0, 0), 0xFF808080u);

  const Picture grayAlpha = Png({.width = 1, .colorType = PNG_COLOR_TYPE_GRAY_ALPHA, .rows = {{0x20, 0x40}}});
  EXPECT_TRUE(grayAlpha.HasAlpha());
  EXPECT_EQ(grayAlpha.Pixel(0, 0), 0x40202020u);

  // A gray value marked transparent by tRNS.
  PngPicture keyed{.width = 2, .colorType = PNG_COLOR_TYPE_GRAY, .rows = {{0x10, 0x20}}};
  keyed.transparentValue = png_color_16{0, 0, 0, 0, 0x20};
  const Picture fromKey = Png(keyed);
  EXPECT_TRUE(fromKey.HasAlpha());
  EXPECT_EQ(AllPixels(fromKey), (std::vector<Argb>{0xFF101010, 0x00202020}));
}

TEST(PicturePngTest, RefusesDamagedCutOffAndOversizedFiles) {
  const std::string good = EncodePng(kRgb);
  ASSERT_NO_THROW(LoadPicture(good, PictureFormat::Png));
  for (std::size_t n = 0; n < good.size(); ++n) {
    SCOPED_TRACE("first " + std::to_string(n) + " bytes");
    Refusal(good.substr(0, n), PictureFormat::Png);
  }
  EXPECT_TRUE(Mentions(Refusal(good.substr(0, good.size() - 1), PictureFormat::Png), "cut short"));

  const std::size_t idat = good.find("IDAT");
  ASSERT_NE(idat, std::string::npos);
  std::string flipped = good;
  flipped[idat + 6] ^= 0x55;
  EXPECT_TRUE(Mentions(Refusal(flipped, PictureFormat::Png), "damaged"));
  // The same damage with a matching CRC reaches the inflater, which must refuse it too.
  std::string badStream = good;
  badStream[idat + 4] = 0x00;
  FixCrc(badStream, idat);
  EXPECT_TRUE(Mentions(Refusal(badStream, PictureFormat::Png), "damaged"));

  std::string huge = good;
  huge.replace(16, 8, "\x00\x01\x86\xA0\x00\x01\x86\xA0", 8);  // 100000 x 100000
  FixCrc(huge, 12);
  EXPECT_TRUE(Mentions(Refusal(huge, PictureFormat::Png), "too large: 100000 x 100000"));
}

// ---- JPEG, written by libjpeg ----

std::string EncodeJpeg(int width, int height, J_COLOR_SPACE space, const std::vector<unsigned char>& samples,
                       bool progressive = false, std::optional<J_COLOR_SPACE> stored = std::nullopt) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  if (stored) jpeg_set_colorspace(&info, *stored);
  jpeg_set_quality(&info, 100, TRUE);
  for (int i = 0; i < info.num_components; ++i)
    info.comp_info[i].h_samp_factor = info.comp_info[i].v_samp_factor = 1;
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  const auto rowSize = static_cast<std::size_t>(width * info.input_components);
  while (info.next_scanline < info.image_height) {
    auto row = const_cast<JSAMPLE*>(samples.data() + info.next_scanline * rowSize);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

// A 16 x 16 picture of four 8 x 8 squares, one colour each (top-left, top-right, bottom-left,
// bottom-right), so that the lossy coding keeps every colour close.
std::vector<unsigned char> Squares(const std::array<std::vector<unsigned char>, 4>& colours) {
  std::vector<unsigned char> samples;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const auto& c = colours[static_cast<std::size_t>((y / 8) * 2 + x / 8)];
      samples.insert(samples.end(), c.begin(), c.end());
    }
  }
  return samples;
}

void ExpectNear(Argb actual, Argb expected, const char* where) {
  for (const int shift : {24, 16, 8, 0}) {
    EXPECT_NEAR(static_cast<int>((actual >> shift) & 0xFF), static_cast<int>((expected >> shift) & 0xFF), 6)
        << where << ": 0x" << std::hex << actual << " for 0x" << expected;
  }
}

void ExpectSquares(const Picture& picture, const std::array<Argb, 4>& expected) {
  ASSERT_EQ(picture.Width(), 16);
  ASSERT_EQ(picture.Height(), 16);
  EXPECT_FALSE(picture.HasAlpha());
  ExpectNear(picture.Pixel(3, 4), expected[0], "top left");
  ExpectNear(picture.Pixel(12, 3), expected[1], "top right");
  ExpectNear(picture.Pixel(4, 12), expected[2], "bottom left");
  ExpectNear(picture.Pixel(11, 13), expected[3], "bottom right");
  const Color lowerLeft = ColorOf(picture.Pixel(0, 15));
  EXPECT_EQ(picture.TransparentColor(), lowerLeft);
}

std::string ColourJpeg(bool progressive = false) {
  return EncodeJpeg(16, 16, JCS_RGB, Squares({{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}}),
                    progressive);
}

TEST(PictureJpegTest, ReadsColourGrayAndCmykPictures) {
  const std::array<Argb, 4> colours{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  ExpectSquares(LoadPicture(ColourJpeg(), PictureFormat::Jpeg), colours);
  ExpectSquares(LoadPicture(ColourJpeg(true), PictureFormat::Jpeg), colours);

  const std::string gray = EncodeJpeg(16, 16, JCS_GRAYSCALE, Squares({{{0}, {0x40}, {0xC0}, {0xFF}}}));
  ExpectSquares(LoadPicture(gray, PictureFormat::Jpeg), {0xFF000000, 0xFF404040, 0xFFC0C0C0, 0xFFFFFFFF});

  // libjpeg marks CMYK files as Adobe's programs do, and so stores the ink inverted: 0 is full
  // ink. Cyan, magenta, yellow and black ink.
  const auto cmyk =
      Squares({{{0, 255, 255, 255}, {255, 0, 255, 255}, {255, 255, 0, 255}, {255, 255, 255, 0}}});
  const std::array<Argb, 4> inks{0xFF00FFFF, 0xFFFF00FF, 0xFFFFFF00, 0xFF000000};
  ExpectSquares(LoadPicture(EncodeJpeg(16, 16, JCS_CMYK, cmyk), PictureFormat::Jpeg), inks);
  ExpectSquares(LoadPicture(EncodeJpeg(16, 16, JCS_CMYK, cmyk, false, JCS_YCCK), PictureFormat::Jpeg), inks);
}

TEST(PictureJpegTest, RefusesDamagedCutOffAndOversizedFiles) {
  const std::string good = ColourJpeg();
  const std::string progressive = ColourJpeg(true);
  for (const std::string& bytes : {good, progressive}) {
    for (const std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{20},
                                bytes.size() / 2, bytes.size() - 2, bytes.size() - 1}) {
      SCOPED_TRACE("first " + std::to_string(n) + " bytes");
      Refusal(bytes.substr(0, n), PictureFormat::Jpeg);
    }
  }
  EXPECT_TRUE(Mentions(Refusal(good.substr(0, good.size() - 2), PictureFormat::Jpeg), "cut short"));

  const std::size_t frame = good.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  std::string noComponents = good;
  noComponents[frame + 9] = 0;
  EXPECT_TRUE(Mentions(Refusal(noComponents, PictureFormat::Jpeg), "damaged"));
  // Quantization tables turned into application segments, which are skipped.
  std::string noTables = good;
  for (std::size_t at = 0; (at = noTables.find("\xFF\xDB", at)) != std::string::npos;)
    noTables[at + 1] = '\xEE';
  EXPECT_TRUE(Mentions(Refusal(noTables, PictureFormat::Jpeg), "damaged"));

  std::string huge = good;
  huge.replace(frame + 5, 4, "\xEA\x60\xEA\x60", 4);  // 60000 x 60000
  EXPECT_TRUE(Mentions(Refusal(huge, PictureFormat::Jpeg), "too large: 60000 x 60000"));
}

// ---- Picture files ----

class PictureFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / ("tasklane-" + std::to_string(::getpid()) + "-" + test->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  fs::path Write(const std::string& name, const std::string& bytes) const {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  // The message of loading `path`, which must name the file.
  static std::string RefusalOf(const fs::path& path) {
    const std::string message = PictureErrorOf([&] { LoadPictureFile(path); });
    EXPECT_TRUE(Mentions(message, path.filename().string()));
    return message;
  }

  fs::path folder_;
};

TEST_F(PictureFileTest, FormatFollowsTheExtensionInAnyCase) {
  const std::string bmp = WriteBmp({.width = 2, .height = 1, .values = {0x010203, 0x040506}});
  EXPECT_EQ(LoadPictureFile(Write("LeftZoomCorner.bmp", bmp)).Pixel(1, 0), 0xFF040506u);
  EXPECT_EQ(LoadPictureFile(Write("Upper.BMP", bmp)).Width(), 2);
  EXPECT_EQ(LoadPictureFile(Write("logo.Png", EncodePng(kRgb))).Width(), 3);
  EXPECT_EQ(LoadPictureFile(Write("Right.JPG", ColourJpeg())).Width(), 16);
  EXPECT_EQ(LoadPictureFile(Write("top.jpeg", ColourJpeg())).Height(), 16);
}

TEST_F(PictureFileTest, RefusesOtherNamesAndMissingFiles) {
  EXPECT_TRUE(Mentions(RefusalOf(Write("logo.gif", EncodePng(kRgb))), ".jpg, .jpeg, .png or .bmp"));
  EXPECT_TRUE(Mentions(RefusalOf(Write("logo", EncodePng(kRgb))), ".png"));
  EXPECT_TRUE(Mentions(RefusalOf(folder_ / "Missing.JPG"), "no such file"));
  fs::create_directory(folder_ / "skin.png");
  EXPECT_TRUE(Mentions(RefusalOf(folder_ / "skin.png"), "folder"));
}

TEST_F(PictureFileTest, RefusesMislabelledEmptyAndDamagedFilesNamingThem) {
  EXPECT_TRUE(Mentions(RefusalOf(Write("Top.jpg", EncodePng(kRgb))), "not a JPEG picture but a PNG one"));
  EXPECT_TRUE(Mentions(RefusalOf(Write("Corner.bmp", ColourJpeg())), "not a bitmap picture but a JPEG one"));
  EXPECT_TRUE(Mentions(RefusalOf(Write("logo.png", "GIF89a")), "not a PNG picture"));
  EXPECT_TRUE(Mentions(RefusalOf(Write("empty.png", "")), "empty"));
  const std::string png = EncodePng(kRgb);
  EXPECT_TRUE(Mentions(RefusalOf(Write("cut.png", png.substr(0, png.size() / 2))), "cut short"));
}

// ---- The picture itself ----

TEST(PictureTest, HoldsItsPixelsAndGuardsItsBounds) {
  const Picture picture(2, 1, {0xFF102030, 0x80405060}, true);
  EXPECT_EQ(picture.Pixel(1, 0), 0x80405060u);
  EXPECT_EQ(AlphaOf(picture.Pixel(1, 0)), 0x80);
  EXPECT_EQ(ColorOf(picture.Pixel(0, 0)), (Color{0x10, 0x20, 0x30}));
  EXPECT_THROW(picture.Pixel(2, 0), std::out_of_range);
  EXPECT_THROW(picture.Pixel(0, -1), std::out_of_range);
  EXPECT_THROW(Picture(2, 2, {0, 0, 0}), std::invalid_argument);

  const Picture empty;
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(empty.TransparentColor(), (Color{255, 255, 255}));
}

}  // namespace
}  // namespace tasklane::pictures
