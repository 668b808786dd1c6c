// The charsets a file may name in its declaration, and conversion between bytes and text.
#pragma once

#include <string>
#include <string_view>

namespace tasklane::xml {

enum class CharsetKind {
  SingleByte,
  Utf8,
  Utf16,  // only a file that starts with a UTF-16 byte-order mark is UTF-16
};

struct Charset {
  CharsetKind kind;
  const char16_t* table;  // 256 entries for a single-byte charset, else nullptr
};

// The charset a name stands for, in any letter case; nullptr for a name we do not know.
const Charset* FindCharset(std::u16string_view name);

// The single-byte code page used for writing and for reading up to a declaration:
// Windows-1252 unless the system has told its own.
const Charset& DefaultCodePage();
// The system's single-byte code page, as the text of each of its 256 bytes (U+FFFD for a byte
// it does not define).
void SetDefaultCodePage(std::u16string_view table);
void UseWindows1252AsDefault();
const Charset& Utf8Charset();

// Decodes bytes (UTF-16 in the byte order given by bigEndian) and appends the text.
void AppendDecoded(const Charset& charset, std::string_view bytes, std::u16string& text,
                   bool bigEndian = false);

// How many bytes decode to the first `units` code units of the text.
std::size_t BytesForUnits(const Charset& charset, std::string_view bytes, std::size_t units);

// The first place at or after `at` where decoding may stop and go on later with the same
// text as decoding in one go: in UTF-8 not inside a sequence.
std::size_t DecodingBoundary(const Charset& charset, std::string_view bytes, std::size_t at);

// Appends the text in the charset, character by character: in UTF-8 a surrogate pair is one
// sequence and a lone surrogate U+FFFD; in a single-byte charset a character the charset
// lacks (a pair included) becomes one "?".
void AppendEncoded(const Charset& charset, std::u16string_view text, std::string& bytes);

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view bytes);

}  // namespace tasklane::xml
