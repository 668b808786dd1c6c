// Escaping on writing and unescaping on reading.
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "xml/UpperCase.h"
#include "xml/XmlEscape.h"
#include "xml/XmlTree.h"

namespace tasklane::xml {
namespace {

int DigitValue(char16_t c, int base) {
  int v = -1;
  if (c >= u'0' && c <= u'9') v = c - u'0';
  else if (c >= u'a' && c <= u'f') v = c - u'a' + 10;
  else if (c >= u'A' && c <= u'F') v = c - u'A' + 10;
  return v < base ? v : -1;
}

// A numeric reference at value[at] ("&#..."): appends its character and returns the length
// of the reference, or returns 0 when it is to stay literal text.
std::size_t ReadNumericReference(std::u16string_view value, std::size_t at, std::u16string& out) {
  std::size_t i = at + 2;
  int base = 10;
  if (i < value.size() && (value[i] == u'x' || value[i] == u'X')) base = 16, ++i;
  const std::size_t digitsStart = i;
  std::uint32_t number = 0;
  for (; i < value.size() && value[i] != u';'; ++i) {
    const int digit = DigitValue(value[i], base);
    if (digit < 0) return 0;
    number = number * base + digit;
    if (number > 0x10FFFF) return 0;  // beyond Unicode: no character to stand for
  }
  if (i == value.size() || i == digitsStart || number == 0) return 0;
  if (number < 0x10000) {
    out.push_back(static_cast<char16_t>(number));
  } else {
    number -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (number >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (number & 0x3FF)));
  }
  return i + 1 - at;
}

struct Entity {
  std::u16string_view name;  // upper case, with "&" and ";"
  char16_t character;
};

constexpr Entity entities[] = {
    {u"&AMP;", u'&'}, {u"&LT;", u'<'}, {u"&GT;", u'>'}, {u"&APOS;", u'\''}, {u"&QUOT;", u'"'},
};

std::size_t ReadEntity(std::u16string_view value, std::size_t at, std::u16string& out) {
  if (at + 1 >= value.size()) return 0;
  const char16_t first = ToUpper(value[at + 1]);
  for (const Entity& e : entities) {
    if (e.name[1] == first && EqualsIgnoringCase(value.substr(at, e.name.size()), e.name)) {
      out.push_back(e.character);
      return e.name.size();
    }
  }
  return 0;
}

}  // namespace

std::u16string EscapeValue(std::u16string_view value) {
  std::u16string out;
  out.reserve(value.size());
  auto end = std::back_inserter(out);
  for (const char16_t c : value) end = EscapeInto(c, end);
  return out;
}

std::u16string UnescapeValue(std::u16string_view value) {
  std::u16string out;
  AppendUnescaped(value, out);
  return out;
}

// The text between references goes over a run at a time.
void AppendUnescaped(std::u16string_view value, std::u16string& out) {
  for (std::size_t i = 0;;) {
    const std::size_t amp = value.find(u'&', i);
    out.append(value.substr(i, amp == std::u16string_view::npos ? amp : amp - i));
    if (amp == std::u16string_view::npos) return;
    std::size_t length = 0;
    if (amp + 1 < value.size() && value[amp + 1] == u'#') length = ReadNumericReference(value, amp, out);
    else length = ReadEntity(value, amp, out);
    if (length == 0) out.push_back(u'&');  // stays literal; go on after it
    i = amp + std::max<std::size_t>(length, 1);
  }
}

}  // namespace tasklane::xml
