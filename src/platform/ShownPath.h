// A path as the user should see it in a message: whole, in UTF-8.
#pragma once

#include <filesystem>
#include <string>

namespace tasklane::platform {

inline std::string ShownPath(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  if (error) full = path;
  const std::u8string utf8 = full.u8string();
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace tasklane::platform
