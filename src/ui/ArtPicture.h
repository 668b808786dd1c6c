// A picture of the program's own artwork, decoded once per call.
#pragma once

#include <memory>
#include <string_view>

#include "platform/Picture.h"

namespace tasklane::ui {

// nullptr when the artwork has no such file or it does not decode: a build fault that
// leaves the control's background in the picture's place rather than failing.
std::shared_ptr<const platform::Picture> ArtPicture(std::string_view file);

}  // namespace tasklane::ui
