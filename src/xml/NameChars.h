// Character classes of the reader.
#pragma once

namespace tasklane::xml {

// Characters 9 to 13 and the blank.
inline bool IsWhitespace(char16_t c) { return c == 32 || (c >= 9 && c <= 13); }

// A name character of XML 1.0, without ":" and without the characters beyond the
// 16-bit range; allowed at every position of a name, the first included.
bool IsNameChar(char16_t c);

}  // namespace tasklane::xml
