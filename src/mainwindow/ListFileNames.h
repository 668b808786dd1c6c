// The list file's names and the bounds loading holds its numbers to.
#pragma once

#include <cstdint>
#include <string_view>

namespace tasklane::mainwindow {

inline constexpr std::string_view listFileName = "ToDoList.xml";
inline constexpr std::u16string_view temporaryFilePrefix = u"ToDoList~tmp~backup~";
// Where an unreadable list is kept before the first save replaces it.
inline constexpr std::string_view unreadableSuffix = ".unreadable";

// Generous beyond any real list, tight enough that a damaged number cannot exhaust memory
// or time: a million rows of a few columns load.
inline constexpr std::int64_t maxTaskRows = 2'000'000;
inline constexpr std::int64_t maxColumns = 1'000;
inline constexpr std::int64_t maxCells = 20'000'000;
inline constexpr int maxPixels = 32'767;  // the largest coordinate window systems take

}  // namespace tasklane::mainwindow
