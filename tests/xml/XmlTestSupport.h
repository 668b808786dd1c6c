// Small helpers shared by the XML tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "xml/XmlTree.h"

namespace tasklane::xml {

// Lets GoogleTest print UTF-16 texts readably.
inline void PrintTo(const std::u16string& text, std::ostream* out) {
  *out << '"';
  for (char16_t c : text) {
    if (c >= 32 && c < 127) *out << static_cast<char>(c);
    else *out << "\\u" << std::hex << static_cast<int>(c) << std::dec;
  }
  *out << '"';
}

// The message a load fails with, or "" when it succeeds.
inline std::u16string LoadFailure(XmlTree& tree, std::string_view bytes) {
  try {
    tree.LoadFromBytes(bytes);
  } catch (const XmlError& e) {
    return e.Message();
  }
  return u"";
}

}  // namespace tasklane::xml
