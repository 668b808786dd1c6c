#include "ui/ArtPicture.h"

#include "art/Art.h"
#include "pictures/PictureFile.h"

namespace tasklane::ui {

std::shared_ptr<const platform::Picture> ArtPicture(std::string_view file) {
  const std::string_view bytes = art::Find(file);
  if (bytes.empty()) return nullptr;
  const std::string_view extension = file.substr(file.rfind('.') + 1);
  const pictures::PictureFormat format = extension == "png"   ? pictures::PictureFormat::Png
                                         : extension == "bmp" ? pictures::PictureFormat::Bmp
                                                              : pictures::PictureFormat::Jpeg;
  try {
    return std::make_shared<const platform::Picture>(pictures::LoadPicture(bytes, format));
  } catch (const platform::PictureError&) {
    return nullptr;
  }
}

}  // namespace tasklane::ui
