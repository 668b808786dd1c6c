#include "xml/UpperCase.h"

#include <algorithm>
#include <iterator>

namespace tasklane::xml {
namespace {

struct CaseMapping {
  char16_t code;
  char16_t upper;
};

constexpr CaseMapping upperMappings[] = {
#include "xml/UnicodeUpper.inc"
};

}  // namespace

char16_t ToUpper(char16_t c) {
  if (c < 128) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  auto found = std::lower_bound(std::begin(upperMappings), std::end(upperMappings), c,
                                [](const CaseMapping& m, char16_t v) { return m.code < v; });
  return (found != std::end(upperMappings) && found->code == c) ? found->upper : c;
}

std::u16string ToUpper(std::u16string_view text) {
  std::u16string upper(text);
  for (char16_t& c : upper) c = ToUpper(c);
  return upper;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && ToUpper(a[i]) != ToUpper(b[i])) return false;
  }
  return true;
}

}  // namespace tasklane::xml
