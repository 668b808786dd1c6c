// The system's code pages for the XML reader and writer.
//
//  [x] the ANSI code page (GetACP) as the default: a single-byte one as a table, a double-byte
//      one (932, 936, 949, 950) through MultiByteToWideChar and WideCharToMultiByte
//  [x] the charset names Windows knows (MLang's GetCharsetInfo), for the single- and
//      double-byte code pages they name
#include <windows.h>
#include <mlang.h>

#include <array>
#include <map>
#include <memory>

#include "backends/win32/win32_state.h"
#include "xml/Charsets.h"

namespace tasklane::win32 {

namespace {

// NOTE: MinGW's uuid library lacks MLang's interface id; these are Windows' own.
constexpr CLSID multiLanguageClass{0x275c23e2, 0x3747, 0x11d0, {0x9f, 0xea, 0x00, 0xaa, 0x00, 0x3f, 0x86, 0x46}};
constexpr IID multiLanguageInterface{0x275c23e1, 0x3747, 0x11d0, {0x9f, 0xea, 0x00, 0xaa, 0x00, 0x3f, 0x86, 0x46}};

class Win32DoubleByte final : public xml::DoubleByteCodec {
 public:
  Win32DoubleByte(UINT codePage, const CPINFO& info) : codePage_(codePage) {
    for (int i = 0; i + 1 < MAX_LEADBYTES && (info.LeadByte[i] != 0 || info.LeadByte[i + 1] != 0); i += 2) {
      for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) lead_[static_cast<std::size_t>(b)] = true;
    }
  }

  bool IsLeadByte(unsigned char byte) const override { return lead_[byte]; }

  void Decode(std::string_view bytes, std::u16string& text) const override {
    if (bytes.empty()) return;
    const int size = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(codePage_, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0) return;
    std::wstring decoded(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(codePage_, 0, bytes.data(), size, decoded.data(), units);
    text.append(decoded.begin(), decoded.end());
  }

  void Encode(std::u16string_view text, std::string& bytes) const override {
    if (text.empty()) return;
    const std::wstring wide(text.begin(), text.end());
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage_, 0, wide.data(), size, nullptr, 0, "?", nullptr);
    if (length <= 0) return;
    const std::size_t start = bytes.size();
    bytes.resize(start + static_cast<std::size_t>(length));
    WideCharToMultiByte(codePage_, 0, wide.data(), size, bytes.data() + start, length, "?", nullptr);
  }

 private:
  UINT codePage_;
  std::array<bool, 256> lead_{};
};

// A code page as the reader and writer take it; it lives as long as the program.
struct SystemCharset {
  std::array<char16_t, 256> table{};
  std::unique_ptr<Win32DoubleByte> codec;
  xml::Charset charset{xml::CharsetKind::SingleByte, nullptr};
};

// nullptr for a code page that is neither single- nor double-byte (UTF-7, ISO-2022, ...).
std::unique_ptr<SystemCharset> MakeCharset(UINT codePage) {
  CPINFO info{};
  if (!GetCPInfo(codePage, &info) || info.MaxCharSize > 2) return nullptr;
  auto made = std::make_unique<SystemCharset>();
  if (info.MaxCharSize == 2) {
    made->codec = std::make_unique<Win32DoubleByte>(codePage, info);
    made->charset = {xml::CharsetKind::DoubleByte, nullptr, made->codec.get()};
    return made;
  }
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    wchar_t unit = 0;
    const bool defined = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &byte, 1, &unit, 1) == 1;
    made->table[static_cast<std::size_t>(b)] = defined ? static_cast<char16_t>(unit) : u'\uFFFD';
  }
  made->charset = {xml::CharsetKind::SingleByte, made->table.data()};
  return made;
}

UINT CodePageNamed(std::u16string_view name) {
  IMultiLanguage* languages = nullptr;
  if (FAILED(CoCreateInstance(multiLanguageClass, nullptr, CLSCTX_INPROC_SERVER, multiLanguageInterface,
                              reinterpret_cast<void**>(&languages)))) {
    return 0;
  }
  BSTR text = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(name.data()), static_cast<UINT>(name.size()));
  MIMECSETINFO info{};
  const HRESULT found = languages->GetCharsetInfo(text, &info);
  SysFreeString(text);
  languages->Release();
  return SUCCEEDED(found) ? info.uiInternetEncoding : 0;
}

const xml::Charset* CharsetNamed(std::u16string_view name) {
  static std::map<UINT, std::unique_ptr<SystemCharset>> made;
  const UINT codePage = CodePageNamed(name);
  if (codePage == 0) return nullptr;
  std::unique_ptr<SystemCharset>& entry = made[codePage];
  if (!entry) entry = MakeCharset(codePage);
  return entry ? &entry->charset : nullptr;
}

}  // namespace

// Lists without a declaration are read, and written, in the system's own code page, as the
// system's programs write them; a declaration may name any charset Windows knows.
void UseSystemCodePages() {
  static const std::unique_ptr<SystemCharset> ansi = MakeCharset(GetACP());
  if (ansi && ansi->codec) xml::SetDefaultCodePage(*ansi->codec);
  else if (ansi) xml::SetDefaultCodePage(std::u16string_view(ansi->table.data(), ansi->table.size()));
  xml::SetSystemCharsets(CharsetNamed);
}

}  // namespace tasklane::win32
