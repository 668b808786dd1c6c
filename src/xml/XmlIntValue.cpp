#include <limits>

#include "xml/XmlTree.h"

namespace tasklane::xml {
namespace {

int DigitIn(char16_t c, unsigned base) {
  unsigned v = base;
  if (c >= u'0' && c <= u'9') v = c - u'0';
  else if (base == 16 && c >= u'a' && c <= u'f') v = c - u'a' + 10;
  else if (base == 16 && c >= u'A' && c <= u'F') v = c - u'A' + 10;
  return v < base ? static_cast<int>(v) : -1;
}

bool StartsWith(std::u16string_view text, std::size_t at, std::u16string_view prefix) {
  return text.substr(at, prefix.size()) == prefix;
}

}  // namespace

std::int64_t XmlElement::IntValue() const {
  constexpr std::int64_t invalid = -1;
  const std::u16string_view text = value_;
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  unsigned base = 10;
  if (StartsWith(text, i, u"0x") || StartsWith(text, i, u"0X")) base = 16, i += 2;
  else if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) base = 16, ++i;
  if (i == text.size()) return invalid;

  // The magnitude may reach 2^63, which only a negative number can use.
  const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) +
                              (negative ? 1 : 0);
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitIn(text[i], base);
    if (digit < 0 || magnitude > (limit - digit) / base) return invalid;
    magnitude = magnitude * base + digit;
  }
  if (!negative) return static_cast<std::int64_t>(magnitude);
  return magnitude == limit ? std::numeric_limits<std::int64_t>::min()
                            : -static_cast<std::int64_t>(magnitude);
}

}  // namespace tasklane::xml
