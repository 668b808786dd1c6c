#include "ui/ArtPicture.h"

#include "art/Art.h"

namespace tasklane::ui {

std::shared_ptr<const platform::Picture> ArtPicture(std::string_view file) {
  const std::string_view bytes = art::Find(file);
  if (bytes.empty()) return nullptr;
  const std::string_view extension = file.substr(file.rfind('.') + 1);
  const platform::PictureFormat format = extension == "png"   ? platform::PictureFormat::Png
                                         : extension == "bmp" ? platform::PictureFormat::Bmp
                                                              : platform::PictureFormat::Jpeg;
  try {
    return std::make_shared<const platform::Picture>(platform::LoadPicture(bytes, format));
  } catch (const platform::PictureError&) {
    return nullptr;
  }
}

}  // namespace tasklane::ui
