// A colour as the program names them: red, green, blue, each 0 to 255.
#pragma once

#include <cstdint>

namespace tasklane::platform {

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

}  // namespace tasklane::platform
