// Feeds arbitrary bytes to the Windows bitmap decoder, our own reader: every header field, offset and length it trusts.
#include "PictureFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return tasklane::fuzz::FuzzPicture(data, size, tasklane::pictures::PictureFormat::Bmp);
}
