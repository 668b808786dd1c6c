// Text and paths between the core and the wide Win32 API. wchar_t is one UTF-16 code unit on
// Windows, so the core's text passes unchanged, code unit for code unit.
#pragma once

#include <string>
#include <string_view>

namespace tasklane::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide API speaks UTF-16");

inline std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

inline std::u16string CoreText(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace tasklane::win32
