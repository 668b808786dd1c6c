#include "art/Art.h"

namespace tasklane::art {

std::string_view Find(std::string_view name) {
  // A few dozen names, looked up when the windows are built: a plain walk is enough.
  for (std::size_t i = 0; i < fileCount; ++i) {
    if (files[i].name == name) return files[i].bytes;
  }
  return {};
}

}  // namespace tasklane::art
