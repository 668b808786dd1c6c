// The list file's names and the bounds loading holds its numbers to.
#pragma once

#include <cstdint>
#include <string_view>

namespace tasklane::mainwindow {

inline constexpr std::string_view listFileName = "ToDoList.xml";
inline constexpr std::u16string_view temporaryFilePrefix = u"ToDoList~tmp~backup~";
// Where an unreadable list is kept before the first save replaces it.
inline constexpr std::string_view unreadableSuffix = ".unreadable";
// The recovery journal beside the list, and the file whose lock says a Tasklane keeps it.
inline constexpr std::string_view recoverySuffix = ".recovery";
inline constexpr std::string_view lockSuffix = ".lock";
// Where a close notes the versions changed elsewhere that it kept, for the next start to tell.
inline constexpr std::string_view keptSuffix = ".kept";

// The counts a list declares are bounded by what its file can hold: every cell the program
// saves is an element of its own, and the shortest element ("<a/>") takes 4 bytes. So every
// list the program saved loads whole, while a damaged or crafted number cannot make a small
// file cost much memory or time. A small file may still declare rows it leaves empty.
inline constexpr std::int64_t bytesPerCell = 4;
inline constexpr std::int64_t smallestCellBudget = 16'384;
inline constexpr int maxPixels = 32'767;  // the largest coordinate window systems take

}  // namespace tasklane::mainwindow
