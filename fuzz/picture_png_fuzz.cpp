// Feeds arbitrary bytes to the PNG decoder: our side of libpng, the error jumps, the expansion to RGBA and the size bound.
#include "PictureFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return tasklane::fuzz::FuzzPicture(data, size, tasklane::pictures::PictureFormat::Png);
}
