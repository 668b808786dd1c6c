#include "xml/Charsets.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "xml/UpperCase.h"

namespace tasklane::xml {
namespace {

using ByteTable = std::array<char16_t, 256>;

constexpr char16_t replacement = 0xFFFD;

constexpr ByteTable Latin1() {
  ByteTable t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<char16_t>(i);
  return t;
}

constexpr ByteTable Windows1252() {
  ByteTable t = Latin1();
  constexpr char16_t high[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  for (int i = 0; i < 32; ++i) t[0x80 + i] = high[i];
  return t;
}

constexpr ByteTable Latin9() {
  ByteTable t = Latin1();
  t[0xA4] = 0x20AC;
  t[0xA6] = 0x0160;
  t[0xA8] = 0x0161;
  t[0xB4] = 0x017D;
  t[0xB8] = 0x017E;
  t[0xBC] = 0x0152;
  t[0xBD] = 0x0153;
  t[0xBE] = 0x0178;
  return t;
}

constexpr ByteTable Ascii() {
  ByteTable t = Latin1();
  for (int i = 128; i < 256; ++i) t[i] = replacement;
  return t;
}

constexpr ByteTable latin1Table = Latin1();
constexpr ByteTable windows1252Table = Windows1252();
constexpr ByteTable latin9Table = Latin9();
constexpr ByteTable asciiTable = Ascii();

constexpr Charset latin1{CharsetKind::SingleByte, latin1Table.data()};
constexpr Charset windows1252{CharsetKind::SingleByte, windows1252Table.data()};
constexpr Charset latin9{CharsetKind::SingleByte, latin9Table.data()};
constexpr Charset ascii{CharsetKind::SingleByte, asciiTable.data()};
constexpr Charset utf8{CharsetKind::Utf8, nullptr};
constexpr Charset utf16{CharsetKind::Utf16, nullptr};

struct NamedCharset {
  std::u16string_view name;  // upper case
  const Charset* charset;
};

constexpr NamedCharset charsetNames[] = {
    {u"ISO-8859-1", &latin1},      {u"ISO8859-1", &latin1},      {u"ISO_8859-1", &latin1},
    {u"ISO_8859-1:1987", &latin1}, {u"ISO-IR-100", &latin1},     {u"LATIN1", &latin1},
    {u"LATIN-1", &latin1},         {u"L1", &latin1},             {u"IBM819", &latin1},
    {u"CP819", &latin1},           {u"CSISOLATIN1", &latin1},    {u"ISO-8859-15", &latin9},
    {u"ISO8859-15", &latin9},      {u"ISO_8859-15", &latin9},    {u"LATIN-9", &latin9},
    {u"LATIN9", &latin9},          {u"L9", &latin9},             {u"WINDOWS-1252", &windows1252},
    {u"CP1252", &windows1252},     {u"X-CP1252", &windows1252},  {u"US-ASCII", &ascii},
    {u"ASCII", &ascii},            {u"US", &ascii},              {u"ISO646-US", &ascii},
    {u"ANSI_X3.4-1968", &ascii},   {u"IBM367", &ascii},          {u"CP367", &ascii},
    {u"CSASCII", &ascii},          {u"UTF-8", &utf8},            {u"UTF8", &utf8},
    {u"UTF-16", &utf16},           {u"UTF-16LE", &utf16},        {u"UTF-16BE", &utf16},
    {u"UCS-2", &utf16},            {u"UNICODE", &utf16},
};

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

void AppendCodePoint(char32_t cp, std::u16string& text) {
  if (cp < 0x10000) {
    text.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Length and first bits of the sequence a lead byte begins; 0 for a byte that begins none.
int SequenceLength(unsigned char lead, char32_t& bits) {
  if (lead >= 0xC2 && lead <= 0xDF) return bits = lead & 0x1F, 2;
  if (lead >= 0xE0 && lead <= 0xEF) return bits = lead & 0x0F, 3;
  if (lead >= 0xF0 && lead <= 0xF4) return bits = lead & 0x07, 4;
  return 0;
}

bool IsValidCodePoint(char32_t cp, int length) {
  constexpr char32_t smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  return cp >= smallest[length] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

// Decodes the sequence at p[i]; returns how many bytes it took (one for an invalid byte,
// which stands for one replacement character).
std::size_t NextUtf8(const unsigned char* p, std::size_t n, std::size_t i, char32_t& cp) {
  const unsigned char lead = p[i];
  if (lead < 0x80) return cp = lead, 1;
  cp = 0;
  const int length = SequenceLength(lead, cp);
  int k = 1;
  while (length > 0 && k < length && i + k < n && IsContinuation(p[i + k])) {
    cp = (cp << 6) | (p[i + k] & 0x3F);
    ++k;
  }
  if (length > 0 && k == length && IsValidCodePoint(cp, length)) return length;
  cp = replacement;
  return 1;
}

void AppendUtf8Decoded(std::string_view bytes, std::u16string& text) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      text.push_back(p[i++]);
      continue;
    }
    char32_t cp;
    i += NextUtf8(p, n, i, cp);
    AppendCodePoint(cp, text);
  }
}

void AppendUtf16Decoded(std::string_view bytes, std::u16string& text, bool bigEndian) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t pairs = bytes.size() / 2;
  text.reserve(text.size() + pairs);
  for (std::size_t i = 0; i < pairs; ++i) {
    const unsigned hi = p[2 * i + (bigEndian ? 0 : 1)], lo = p[2 * i + (bigEndian ? 1 : 0)];
    text.push_back(static_cast<char16_t>(hi << 8 | lo));
  }
  if (bytes.size() % 2 != 0) text.push_back(replacement);
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendUtf8Encoded(std::u16string_view text, std::string& bytes) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
      cp = replacement;
    }
    if (cp < 0x80) {
      bytes.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      bytes.push_back(static_cast<char>(0xC0 | cp >> 6));
      bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      bytes.push_back(static_cast<char>(0xE0 | cp >> 12));
      bytes.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      bytes.push_back(static_cast<char>(0xF0 | cp >> 18));
      bytes.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
}

// A table holds the replacement character for the bytes its charset leaves undefined (those
// above 127 in US-ASCII); no character is written as one of them.
char EncodeSingleByte(const char16_t* table, char16_t c) {
  if (c < 0x80 && table[c] == c) return static_cast<char>(c);
  if (c == replacement) return '?';
  for (int b = 0x80; b < 256; ++b) {
    if (table[b] == c) return static_cast<char>(b);
  }
  return '?';
}

void AppendSingleByteEncoded(const char16_t* table, std::u16string_view text, std::string& bytes) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    // No single-byte charset holds a character beyond U+FFFF: its pair is one "?".
    const bool pair = IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
    bytes.push_back(pair ? '?' : EncodeSingleByte(table, text[i]));
    i += pair ? 1 : 0;
  }
}

// One byte, or a lead byte and the byte after it (when there is one).
std::size_t CharacterBytes(const DoubleByteCodec& codec, std::string_view bytes, std::size_t at) {
  return codec.IsLeadByte(static_cast<unsigned char>(bytes[at])) && at + 1 < bytes.size() ? 2 : 1;
}

// The system decodes; no byte makes more than one code unit, as the reader's text relies on.
void AppendDoubleByteDecoded(const DoubleByteCodec& codec, std::string_view bytes, std::u16string& text) {
  std::u16string decoded;
  codec.Decode(bytes, decoded);
  text.append(decoded, 0, std::min(decoded.size(), bytes.size()));
}

}  // namespace

namespace {
const Charset* (*systemCharsets)(std::u16string_view) = nullptr;
}  // namespace

const Charset* FindCharset(std::u16string_view name) {
  const std::u16string upper = ToUpper(name);
  for (const NamedCharset& entry : charsetNames) {
    if (entry.name == upper) return entry.charset;
  }
  return systemCharsets ? systemCharsets(name) : nullptr;
}

void SetSystemCharsets(const Charset* (*lookup)(std::u16string_view name)) { systemCharsets = lookup; }

namespace {
// NOTE: Linux has no system code page of this kind; Windows-1252 agrees with ASCII and
// reads the files of the Windows build. Windows tells its own (SetDefaultCodePage).
ByteTable systemTable{};
Charset systemCodePage{CharsetKind::SingleByte, systemTable.data()};
const Charset* defaultCodePage = &windows1252;
}  // namespace

const Charset& DefaultCodePage() { return *defaultCodePage; }

void SetDefaultCodePage(std::u16string_view table) {
  if (table.size() != systemTable.size()) throw std::invalid_argument("a code page has 256 bytes");
  std::copy(table.begin(), table.end(), systemTable.begin());
  defaultCodePage = &systemCodePage;
}

void SetDefaultCodePage(const DoubleByteCodec& codec) {
  static Charset doubleByte{CharsetKind::DoubleByte, nullptr};
  doubleByte.codec = &codec;
  defaultCodePage = &doubleByte;
}

void UseWindows1252AsDefault() { defaultCodePage = &windows1252; }

const Charset& Utf8Charset() { return utf8; }

void AppendDecoded(const Charset& charset, std::string_view bytes, std::u16string& text,
                   bool bigEndian) {
  switch (charset.kind) {
    case CharsetKind::SingleByte: {
      const std::size_t start = text.size();
      text.resize(start + bytes.size());
      char16_t* out = text.data() + start;
      for (unsigned char b : bytes) *out++ = charset.table[b];
      break;
    }
    case CharsetKind::Utf8:
      AppendUtf8Decoded(bytes, text);
      break;
    case CharsetKind::Utf16:
      AppendUtf16Decoded(bytes, text, bigEndian);
      break;
    case CharsetKind::DoubleByte:
      AppendDoubleByteDecoded(*charset.codec, bytes, text);
      break;
  }
}

void AppendEncoded(const Charset& charset, std::u16string_view text, std::string& bytes) {
  if (charset.kind == CharsetKind::Utf8) return AppendUtf8Encoded(text, bytes);
  if (charset.kind == CharsetKind::DoubleByte) return charset.codec->Encode(text, bytes);
  AppendSingleByteEncoded(charset.table ? charset.table : DefaultCodePage().table, text, bytes);
}

bool KeepsAscii(const Charset& charset) {
  if (charset.kind == CharsetKind::Utf8) return true;
  if (charset.kind != CharsetKind::SingleByte) return false;
  for (int byte = 0; byte < 128; ++byte) {
    if (charset.table[byte] != byte) return false;
  }
  return true;
}

std::size_t BytesForUnits(const Charset& charset, std::string_view bytes, std::size_t units) {
  if (charset.kind == CharsetKind::SingleByte) return units;
  if (charset.kind == CharsetKind::Utf16) return 2 * units;
  if (charset.kind == CharsetKind::DoubleByte) {
    std::size_t i = 0;
    for (std::size_t decoded = 0; decoded < units && i < bytes.size(); ++decoded) {
      i += CharacterBytes(*charset.codec, bytes, i);
    }
    return i;
  }
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t i = 0;
  for (std::size_t decoded = 0; decoded < units && i < bytes.size();) {
    char32_t cp;
    i += NextUtf8(p, bytes.size(), i, cp);
    decoded += cp < 0x10000 ? 1 : 2;
  }
  return i;
}

std::size_t DecodingBoundary(const Charset& charset, std::string_view bytes, std::size_t from, std::size_t at) {
  if (charset.kind == CharsetKind::Utf16) return std::min(bytes.size(), at + at % 2);
  if (charset.kind == CharsetKind::SingleByte) return at;
  if (charset.kind == CharsetKind::DoubleByte) {
    // A trail byte may look like a lead byte: only counting from a known start tells them apart.
    while (from < at) from += CharacterBytes(*charset.codec, bytes, from);
    return std::min(from, bytes.size());
  }
  // A sequence goes on only with continuation bytes; in front of any other byte every
  // sequence has ended, valid or not.
  while (at < bytes.size() && IsContinuation(static_cast<unsigned char>(bytes[at]))) ++at;
  return at;
}

std::string ToUtf8(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  AppendUtf8Encoded(text, bytes);
  return bytes;
}

std::u16string FromUtf8(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  AppendUtf8Decoded(bytes, text);
  return text;
}

}  // namespace tasklane::xml
