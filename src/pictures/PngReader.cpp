// PNG pictures through libpng, expanded to 8-bit RGBA whatever their colour type and depth.
//
// libpng reports a fatal error by calling our error function, which must not return; it jumps
// back with longjmp to the setjmp in the phase that called libpng. A longjmp skips destructors,
// so the two functions holding a setjmp own no C++ object at all: everything that needs one
// (the read struct, the pixel buffer, the row pointers) lives in ReadPng, outside the jump.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "pictures/PictureReaders.h"

namespace tasklane::pictures::detail {
namespace {

struct PngSource {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  std::size_t position = 0;
  bool cutShort = false;
  char message[256] = {};
};

void OnError(png_structp png, png_const_charp message) {
  auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
  std::snprintf(source->message, sizeof source->message, "%s", message);
  png_longjmp(png, 1);
}

// Warnings (a damaged ancillary chunk, an unknown profile) leave a picture we can show.
void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep to, std::size_t count) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (count > source->size - source->position) {
    source->cutShort = true;
    png_error(png, "cut short");
  }
  std::memcpy(to, source->data + source->position, count);
  source->position += count;
}

// Owns the libpng structures on every way out of ReadPng.
class ReadStruct {
 public:
  explicit ReadStruct(PngSource& source) {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, OnError, OnWarning);
    if (png_ == nullptr) throw PictureError("The PNG reader could not start.");
    info_ = png_create_info_struct(png_);
    if (info_ == nullptr) {
      png_destroy_read_struct(&png_, nullptr, nullptr);
      throw PictureError("The PNG reader could not start.");
    }
    png_set_read_fn(png_, &source, OnRead);
  }
  ~ReadStruct() { png_destroy_read_struct(&png_, &info_, nullptr); }
  ReadStruct(const ReadStruct&) = delete;
  ReadStruct& operator=(const ReadStruct&) = delete;

  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

struct Header {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  bool hasAlpha = false;
};

// Reads the chunks up to the image data; false when libpng gave up.
bool ReadHeader(png_structp png, png_infop info, Header* header) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  header->width = png_get_image_width(png, info);
  header->height = png_get_image_height(png, info);
  header->hasAlpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                     png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  return true;
}

// Decodes every row as R, G, B, A bytes into `rows`, then reads on to the end of the file so
// that a file cut after its image data is noticed too.
bool ReadImage(png_structp png, png_infop info, png_bytepp rows, std::size_t rowBytes) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_expand(png);  // palette to RGB, gray below 8 bits to 8, tRNS to an alpha channel
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);  // only where there is no alpha yet
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != rowBytes) png_error(png, "Unexpected row size after expanding");
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

Picture ReadPng(std::string_view bytes) {
  PngSource source;
  source.data = reinterpret_cast<const unsigned char*>(bytes.data());
  source.size = bytes.size();
  ReadStruct reader(source);
  const auto damaged = [&source] {
    if (source.cutShort) return PictureError("The PNG picture is cut short: its data ends early.");
    return PictureError(std::string("The PNG picture is damaged: ") + source.message + ".");
  };

  Header header;
  if (!ReadHeader(reader.Png(), reader.Info(), &header)) throw damaged();
  CheckPictureSize(header.width, header.height, "PNG");

  const std::size_t width = header.width;
  const std::size_t height = header.height;
  std::vector<Argb> pixels(width * height);
  // libpng writes R, G, B, A bytes straight into the pixel memory; each pixel is turned into
  // 0xAARRGGBB in place afterwards, which needs no second buffer.
  std::vector<png_bytep> rows(height);
  for (std::size_t y = 0; y < height; ++y) rows[y] = reinterpret_cast<png_bytep>(pixels.data() + y * width);
  if (!ReadImage(reader.Png(), reader.Info(), rows.data(), width * 4)) throw damaged();

  for (Argb& pixel : pixels) {
    unsigned char rgba[4];
    std::memcpy(rgba, &pixel, sizeof rgba);
    pixel = MakeArgb(rgba[3], rgba[0], rgba[1], rgba[2]);
  }
  return Picture(static_cast<int>(width), static_cast<int>(height), std::move(pixels), header.hasAlpha);
}

}  // namespace tasklane::pictures::detail
