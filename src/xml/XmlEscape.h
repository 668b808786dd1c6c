// EscapeValue's rules in the one place that holds them: EscapeValue builds a text
// with them, the writer puts their bytes straight into its buffer.
#pragma once

#include <cstddef>
#include <string_view>

namespace tasklane::xml {

// A code unit that Escape hands over as itself.
constexpr bool WrittenAsItself(char16_t c) {
  return c < 128 && c != u'&' && c != u'<' && c != u'>' && c != u'"' && c != u'\'';
}

// Hands over the escaped form of `value`, which is all ASCII: putChar(char) for a code unit
// written as itself, putReference(std::string_view) for a reference. Each code unit above 127
// becomes "&#x" + 2 or, above 255, 4 upper-case hexadecimal digits + ";", each half of a
// surrogate pair its own reference. The two are taken by value: a copy of a small closure
// stays in registers, where one behind a reference is loaded again after every byte stored.
template <typename PutChar, typename PutReference>
void Escape(std::u16string_view value, PutChar putChar, PutReference putReference) {
  constexpr char hexDigits[] = "0123456789ABCDEF";
  for (const char16_t c : value) {
    switch (c) {
      case u'&': putReference(std::string_view("&amp;")); break;
      case u'<': putReference(std::string_view("&lt;")); break;
      case u'>': putReference(std::string_view("&gt;")); break;
      case u'"': putReference(std::string_view("&quot;")); break;
      case u'\'': putReference(std::string_view("&apos;")); break;
      default: {
        if (WrittenAsItself(c)) {
          putChar(static_cast<char>(c));
          break;
        }
        char reference[8] = {'&', '#', 'x'};
        std::size_t length = 3;
        for (int shift = c > 0xFF ? 12 : 4; shift >= 0; shift -= 4) {
          reference[length++] = hexDigits[(c >> shift) & 0xF];
        }
        reference[length++] = ';';
        putReference(std::string_view(reference, length));
      }
    }
  }
}

}  // namespace tasklane::xml
