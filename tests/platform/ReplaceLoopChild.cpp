// Saves the list in its folder the way the program does, version after version, until it is
// killed: each version goes to a temporary file first and then takes the list's place.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "ReplaceLoopVersion.h"
#include "platform/Files.h"

int main(int argc, char** argv) {
  using namespace tasklane::platform;
  if (argc != 2) {
    std::fprintf(stderr, "usage: replace_loop_child FOLDER\n");
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    const std::filesystem::path list = folder / replace_loop::kListName;
    const std::unique_ptr<Files> files = MakeSystemFiles();
    for (int version = 1;; ++version) {
      const std::filesystem::path temp =
          folder / (std::string(replace_loop::kTempPrefix) + std::to_string(version));
      files->WriteWhole(temp, replace_loop::VersionBytes(version));
      files->Replace(temp, list);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "replace_loop_child: %s\n", e.what());
    return 1;
  }
}
