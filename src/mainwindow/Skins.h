// Paths as skins need them: texts with the system's own delimiter, folders ending with one.
#pragma once

#include <filesystem>
#include <string>

namespace tasklane::mainwindow {

inline constexpr bool windowsPaths = std::filesystem::path::preferred_separator == L'\\';
inline constexpr char16_t pathDelimiter = windowsPaths ? u'\\' : u'/';

// The path with one delimiter at its end.
std::u16string WithDelimiter(std::u16string path);

}  // namespace tasklane::mainwindow
