// EscapeValue's rules in the one place that holds them: EscapeValue builds a text
// with them, the writer puts their bytes straight into its buffer.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tasklane::xml {

// The most bytes one code unit is written as: "&#xFFFF;".
constexpr std::size_t maxEscapedBytes = 8;

// Writes the escaped form of one code unit at `out`, which has room for maxEscapedBytes, and
// returns the end of what it wrote. The form is all ASCII: a code unit written as itself, or a
// reference. Each code unit above 127 becomes "&#x" + 2 or, above 255, 4 upper-case
// hexadecimal digits + ";", each half of a surrogate pair its own reference.
template <typename Out>
constexpr Out EscapeInto(char16_t c, Out out) {
  auto put = [&](std::string_view text) {
    for (char byte : text) *out++ = byte;
  };
  switch (c) {
    case u'&': put("&amp;"); break;
    case u'<': put("&lt;"); break;
    case u'>': put("&gt;"); break;
    case u'"': put("&quot;"); break;
    case u'\'': put("&apos;"); break;
    default:
      if (c < 128) {
        *out++ = static_cast<char>(c);
        break;
      }
      constexpr char hexDigits[] = "0123456789ABCDEF";
      put("&#x");
      for (int shift = c > 0xFF ? 12 : 4; shift >= 0; shift -= 4) *out++ = hexDigits[(c >> shift) & 0xF];
      *out++ = ';';
  }
  return out;
}

// The written form of each ASCII code unit, as EscapeInto writes it, padded to
// maxEscapedBytes: a writer copies it whole and moves on by its length, without a branch.
struct EscapedAscii {
  char bytes[maxEscapedBytes] = {};
  std::size_t length = 0;
};

constexpr std::array<EscapedAscii, 128> MakeEscapedAscii() {
  std::array<EscapedAscii, 128> forms{};
  for (char16_t c = 0; c < 128; ++c) {
    forms[c].length = static_cast<std::size_t>(EscapeInto(c, forms[c].bytes) - forms[c].bytes);
  }
  return forms;
}

inline constexpr std::array<EscapedAscii, 128> escapedAscii = MakeEscapedAscii();

}  // namespace tasklane::xml
