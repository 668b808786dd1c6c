// Text and paths between the core and the wide Win32 API. wchar_t is one UTF-16 code unit on
// Windows, so the core's text passes unchanged, code unit for code unit.
#pragma once

#include <string>
#include <string_view>

namespace tasklane::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide API speaks UTF-16");

inline std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

inline std::u16string CoreText(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

// A text of at most `units` code units, up to its first zero: a text that another program put
// on the clipboard may have no terminating zero within its memory block.
inline std::u16string BoundedText(const wchar_t* text, std::size_t units) {
  std::size_t length = 0;
  while (length < units && text[length] != L'\0') ++length;
  return std::u16string(text, text + length);
}

// Explorer's arguments to open a new window on the folder with `file` selected. The path is
// quoted: a comma in a folder's name would end the "/select," argument.
inline std::wstring ExplorerSelectArguments(std::wstring_view file) {
  return L"/n,/e,/select,\"" + std::wstring(file) + L"\"";
}

}  // namespace tasklane::win32
