#include "xml/NameChars.h"

#include <array>

namespace tasklane::xml {
namespace {

constexpr bool IsNameCharSlow(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c == u'-' || c == u'.' || c == 0xB7 || (c >= 0xC0 && c <= 0xD6) ||
         (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
         (c >= 0x200C && c <= 0x200D) || (c >= 0x203F && c <= 0x2040) ||
         (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) ||
         (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
         (c >= 0xFDF0 && c <= 0xFFFD);
}

constexpr std::array<bool, 128> MakeAsciiTable() {
  std::array<bool, 128> table{};
  for (char16_t c = 0; c < 128; ++c) table[c] = IsNameCharSlow(c);
  return table;
}

constexpr std::array<bool, 128> asciiNameChars = MakeAsciiTable();

}  // namespace

bool IsNameChar(char16_t c) { return c < 128 ? asciiNameChars[c] : IsNameCharSlow(c); }

}  // namespace tasklane::xml
