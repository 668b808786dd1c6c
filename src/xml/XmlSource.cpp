#include "xml/XmlSource.h"

#include <algorithm>

namespace tasklane::xml {
namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

const Charset utf16{CharsetKind::Utf16, nullptr};

// A declaration may switch the charset anywhere in the prolog, and what was decoded behind it
// is then decoded again. Pieces start small after each switch and double as reading goes on,
// so a switch drops at most what was read since the last one and one small piece: however
// often the charset changes, decoding stays linear in the file's size. From 64 KiB on, one
// call more per piece is not worth saving.
constexpr std::size_t firstPieceBytes = 64;
constexpr std::size_t largestPieceBytes = 64 * 1024;

}  // namespace

XmlSource::XmlSource(std::u16string_view text) {
  text_->assign(text);
  decodedUnits_ = text_->size();
  view_ = *text_;
}

XmlSource::XmlSource(std::string_view bytes) {
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
    // No declaration switches a UTF-16 text, so it is decoded in one go.
    AppendDecoded(utf16, bytes.substr(2), *text_, bytes[0] == '\xFE');
    decodedUnits_ = text_->size();
    view_ = *text_;
    return;
  }
  bytes_ = bytes.substr(StartsWith(bytes, "\xEF\xBB\xBF") ? 3 : 0);
  // No charset decodes a byte into more than one code unit, so the text fits into this and
  // never moves.
  text_->reserve(bytes_.size());
  charset_ = &DefaultCodePage();
  pieceBytes_ = firstPieceBytes;
  view_ = *text_;
}

bool XmlSource::DecodeMore() {
  if (nextByte_ >= bytes_.size()) return false;
  const std::size_t end =
      DecodingBoundary(*charset_, bytes_, nextByte_, std::min(bytes_.size(), nextByte_ + pieceBytes_));
  const std::size_t before = text_->size();
  AppendDecoded(*charset_, bytes_.substr(nextByte_, end - nextByte_), *text_);
  decodedUnits_ += text_->size() - before;
  nextByte_ = end;
  pieceBytes_ = std::min(2 * pieceBytes_, largestPieceBytes);
  view_ = *text_;
  return true;
}

void XmlSource::SwitchCharset(std::size_t from, const Charset& charset) {
  if (!charset_ || charset.kind == CharsetKind::Utf16 || &charset == charset_) return;
  const std::size_t byte =
      segmentByte_ + BytesForUnits(*charset_, bytes_.substr(segmentByte_), from - segmentUnit_);
  segmentUnit_ = from;
  segmentByte_ = byte;
  charset_ = &charset;
  text_->resize(from);
  nextByte_ = byte;
  pieceBytes_ = firstPieceBytes;
  view_ = *text_;
}

bool XmlSource::AsciiBytesFrom(std::size_t unit, std::string_view& bytes, std::size_t& byte) const {
  if (!charset_ || !KeepsAscii(*charset_) || unit < segmentUnit_) return false;
  bytes = bytes_;
  byte = segmentByte_ + BytesForUnits(*charset_, bytes_.substr(segmentByte_), unit - segmentUnit_);
  return true;
}

void XmlSource::SkipTo(std::size_t unit, std::size_t byte) {
  segmentUnit_ = unit;
  segmentByte_ = byte;
  text_->resize(unit);
  nextByte_ = byte;
  pieceBytes_ = firstPieceBytes;
  view_ = *text_;
}

std::unique_ptr<std::u16string> XmlSource::ReleaseText() {
  auto text = std::move(text_);
  text_ = std::make_unique<std::u16string>();
  view_ = {};
  bytes_ = {};
  return text;
}

}  // namespace tasklane::xml
