// The charsets a file may name in its declaration, and conversion between bytes and text.
#pragma once

#include <string>
#include <string_view>

namespace tasklane::xml {

enum class CharsetKind {
  SingleByte,
  Utf8,
  Utf16,  // only a file that starts with a UTF-16 byte-order mark is UTF-16
  DoubleByte,
};

// A double-byte code page of the system's (Shift-JIS, GBK, Big5, ...): which bytes lead a
// pair, and the system's own conversion. A character is one byte or a lead byte and the one
// after it, and decodes into one code unit.
class DoubleByteCodec {
 public:
  virtual ~DoubleByteCodec() = default;
  virtual bool IsLeadByte(unsigned char byte) const = 0;
  // Bytes that end with a whole character.
  virtual void Decode(std::string_view bytes, std::u16string& text) const = 0;
  // "?" for a character the code page lacks.
  virtual void Encode(std::u16string_view text, std::string& bytes) const = 0;
};

struct Charset {
  CharsetKind kind;
  const char16_t* table;                   // 256 entries for a single-byte charset, else nullptr
  const DoubleByteCodec* codec = nullptr;  // for a double-byte charset
};

// The charset a name stands for, in any letter case: ours first, then those the system knows
// (SetSystemCharsets); nullptr for a name nobody knows.
const Charset* FindCharset(std::u16string_view name);
// Where the system looks up the charset names it knows; the charsets it returns live as long
// as the program.
void SetSystemCharsets(const Charset* (*lookup)(std::u16string_view name));

// The single-byte code page used for writing and for reading up to a declaration:
// Windows-1252 unless the system has told its own.
const Charset& DefaultCodePage();
// The system's single-byte code page, as the text of each of its 256 bytes (U+FFFD for a byte
// it does not define).
void SetDefaultCodePage(std::u16string_view table);
// The system's double-byte code page; the codec lives as long as it is the default.
void SetDefaultCodePage(const DoubleByteCodec& codec);
void UseWindows1252AsDefault();
const Charset& Utf8Charset();

// Decodes bytes (UTF-16 in the byte order given by bigEndian) and appends the text.
void AppendDecoded(const Charset& charset, std::string_view bytes, std::u16string& text,
                   bool bigEndian = false);

// Whether every byte up to 127 decodes to the code unit of the same number, and never belongs
// to a longer character.
bool KeepsAscii(const Charset& charset);

// How many bytes decode to the first `units` code units of the text.
std::size_t BytesForUnits(const Charset& charset, std::string_view bytes, std::size_t units);

// The first place at or after `at` where decoding may stop and go on later with the same
// text as decoding in one go: in UTF-8 not inside a sequence, in a double-byte charset not
// inside a pair. `from` is such a place already, at or before `at`.
std::size_t DecodingBoundary(const Charset& charset, std::string_view bytes, std::size_t from, std::size_t at);

// Appends the text in the charset, character by character: in UTF-8 a surrogate pair is one
// sequence and a lone surrogate U+FFFD; in a single-byte charset a character the charset
// lacks (a pair included) becomes one "?".
void AppendEncoded(const Charset& charset, std::u16string_view text, std::string& bytes);

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view bytes);

}  // namespace tasklane::xml
