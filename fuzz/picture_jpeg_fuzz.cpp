// Feeds arbitrary bytes to the JPEG decoder: our side of libjpeg, its error exits and the size bound.
#include "PictureFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return tasklane::fuzz::FuzzPicture(data, size, tasklane::pictures::PictureFormat::Jpeg);
}
