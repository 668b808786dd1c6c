// The text the reader works on, decoded from a file's bytes.
#pragma once

#include <string>
#include <string_view>

#include "xml/Charsets.h"

namespace tasklane::xml {

class XmlSource {
 public:
  // Text that is decoded already; a declaration changes nothing about it.
  explicit XmlSource(std::u16string_view text) : view_(text) {}
  // Bytes: a UTF-16 byte-order mark makes them UTF-16; otherwise (after skipping a UTF-8
  // byte-order mark) they are decoded in the default code page until a declaration names
  // another charset.
  explicit XmlSource(std::string_view bytes);

  std::u16string_view Text() const { return view_; }

  // Decodes the bytes behind Text()[from] onwards in another charset.
  void SwitchCharset(std::size_t from, const Charset& charset);

 private:
  std::string_view bytes_;
  std::u16string text_;
  std::u16string_view view_;
  const Charset* charset_ = nullptr;  // nullptr: the text cannot be decoded again
  std::size_t segmentUnit_ = 0;       // where the current charset began, in the text
  std::size_t segmentByte_ = 0;       // and in the bytes
  std::size_t highBytesEnd_ = 0;      // one past the last byte above 127
};

}  // namespace tasklane::xml
