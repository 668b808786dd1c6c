// Letter-case-blind comparison by the Unicode simple upper-case mapping.
#pragma once

#include <string>
#include <string_view>

namespace tasklane::xml {

char16_t ToUpper(char16_t c);
std::u16string ToUpper(std::u16string_view text);
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace tasklane::xml
