// The text the reader works on, decoded from a file's bytes piece by piece as reading gets
// to them.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "xml/Charsets.h"

namespace tasklane::xml {

class XmlSource {
 public:
  // Text that is decoded already (the source keeps a copy); a declaration changes nothing
  // about it.
  explicit XmlSource(std::u16string_view text);
  // Bytes: a UTF-16 byte-order mark makes them UTF-16; otherwise (after skipping a UTF-8
  // byte-order mark) they are decoded in the default code page until a declaration names
  // another charset.
  explicit XmlSource(std::string_view bytes);
  XmlSource(const XmlSource&) = delete;
  XmlSource& operator=(const XmlSource&) = delete;

  // The text decoded so far. It only grows (but see SwitchCharset), and its storage never
  // moves, so views into it stay valid while the reader asks for more.
  std::u16string_view Text() const { return view_; }

  // Decodes the next piece of the bytes onto Text(); false when all of them are decoded.
  bool DecodeMore();

  // Drops Text() from `from` on; the bytes behind it are decoded in `charset` from then on.
  void SwitchCharset(std::size_t from, const Charset& charset);

  // Where the text from code unit `unit` on comes from, when its bytes are in a charset that
  // keeps ASCII as it is: then a reader may take those bytes directly (and SkipTo past them).
  bool AsciiBytesFrom(std::size_t unit, std::string_view& bytes, std::size_t& byte) const;

  // Drops Text() from `unit` on; decoding goes on from `byte`, the bytes in between having been
  // read by other means.
  void SkipTo(std::size_t unit, std::size_t byte);

  // Code units decoded so far, those decoded again after a switch included.
  std::size_t DecodedUnits() const { return decodedUnits_; }

  // Hands the text over, storage and all: views into it stay valid for as long as the
  // receiver keeps it. The source has no text afterwards.
  std::unique_ptr<std::u16string> ReleaseText();

 private:
  std::string_view bytes_;
  // On the heap, so that handing it over leaves every view into it valid.
  std::unique_ptr<std::u16string> text_ = std::make_unique<std::u16string>();
  std::u16string_view view_;
  const Charset* charset_ = nullptr;  // nullptr: the text cannot be decoded again
  std::size_t segmentUnit_ = 0;       // where the current charset began, in the text
  std::size_t segmentByte_ = 0;       // and in the bytes
  std::size_t nextByte_ = 0;          // the first byte not decoded yet
  std::size_t pieceBytes_ = 0;        // how many bytes the next piece takes, at least
  std::size_t decodedUnits_ = 0;
};

}  // namespace tasklane::xml
