#include "xml/XmlSource.h"

namespace tasklane::xml {
namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

const Charset utf16{CharsetKind::Utf16, nullptr};

}  // namespace

XmlSource::XmlSource(std::string_view bytes) {
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
    AppendDecoded(utf16, bytes.substr(2), text_, bytes[0] == '\xFE');
    view_ = text_;
    return;
  }
  bytes_ = bytes.substr(StartsWith(bytes, "\xEF\xBB\xBF") ? 3 : 0);
  charset_ = &DefaultCodePage();
  AppendDecoded(*charset_, bytes_, text_);
  view_ = text_;
  for (std::size_t i = bytes_.size(); i > 0; --i) {
    if (static_cast<unsigned char>(bytes_[i - 1]) > 127) {
      highBytesEnd_ = i;
      break;
    }
  }
}

void XmlSource::SwitchCharset(std::size_t from, const Charset& charset) {
  if (!charset_ || charset.kind == CharsetKind::Utf16 || &charset == charset_) return;
  const std::size_t byte =
      segmentByte_ + BytesForUnits(*charset_, bytes_.substr(segmentByte_), from - segmentUnit_);
  segmentUnit_ = from;
  segmentByte_ = byte;
  charset_ = &charset;
  if (byte >= highBytesEnd_) return;  // plain ASCII follows, which every charset reads alike
  text_.resize(from);
  AppendDecoded(charset, bytes_.substr(byte), text_);
  view_ = text_;
}

}  // namespace tasklane::xml
