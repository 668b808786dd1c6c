// The program's pictures, built into the executable: every file of art/ (drawn by
// tools/make_art.py) by its file name, e.g. "ImageTop.jpg" or "ImagePlusRow_hover.png".
// The table is written at build time by cmake/EmbedArt.cmake.
#pragma once

#include <cstddef>
#include <string_view>

namespace tasklane::art {

struct EmbeddedFile {
  std::string_view name;   // the file name in art/, without a folder
  std::string_view bytes;  // the whole file, exactly as committed
};

// Sorted by name; fileCount entries. The bytes live for the whole run.
extern const EmbeddedFile files[];
extern const std::size_t fileCount;

// The bytes of the file of that name (the name's letter case counts); empty when there is
// no such file.
std::string_view Find(std::string_view name);

}  // namespace tasklane::art
