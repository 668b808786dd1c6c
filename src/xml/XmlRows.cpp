#include "xml/XmlRows.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "xml/XmlTree.h"

namespace tasklane::xml {
namespace {

std::string Tag(std::string_view opening, std::string_view name, std::string_view closing) {
  std::string tag(opening);
  tag.append(name).append(closing);
  return tag;
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

void SkipSpace(std::string_view bytes, std::size_t& i) {
  while (i < bytes.size() && IsSpace(bytes[i])) ++i;
}

// A loop of its own: tags are a few bytes, too short for a library call to pay.
bool Take(std::string_view bytes, std::size_t& i, std::string_view tag) {
  if (bytes.size() - i < tag.size()) return false;
  for (std::size_t k = 0; k < tag.size(); ++k) {
    if (bytes[i + k] != tag[k]) return false;
  }
  i += tag.size();
  return true;
}

bool IsAscii(std::string_view run) {
  unsigned char high = 0;
  for (const char c : run) high |= static_cast<unsigned char>(c);
  return high < 0x80;
}

std::string_view TextRun(std::string_view bytes, std::size_t start) {
  const void* tag = std::memchr(bytes.data() + start, '<', bytes.size() - start);
  if (!tag) return {};
  return bytes.substr(start, static_cast<std::size_t>(static_cast<const char*>(tag) - bytes.data()) - start);
}

}  // namespace

XmlRows::XmlRows(std::u16string_view section, std::string_view row, std::string_view value)
    : sectionName_(section),
      rowOpen_(Tag("<", row, ">")),
      rowEmpty_(Tag("<", row, "/>")),
      rowClose_(Tag("</", row, ">")),
      valueOpen_(Tag("<", value, ">")),
      valueEmpty_(Tag("<", value, "/>")),
      valueClose_(Tag("</", value, ">")) {}

std::optional<std::size_t> XmlRows::Read(std::string_view bytes, std::size_t from, const XmlElement& section) {
  // Places are kept in 32 bits.
  if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  bytes_ = bytes;
  std::size_t i = from;
  for (;;) {
    SkipSpace(bytes_, i);
    if (bytes_.substr(i, 2) == "</") break;
    if (Take(bytes_, i, rowEmpty_)) {
      rowEnds_.push_back(static_cast<std::uint32_t>(valueStarts_.size()));
      continue;
    }
    if (!Take(bytes_, i, rowOpen_) || !ReadRow(i)) {
      Discard();
      return std::nullopt;
    }
  }
  // Beyond ASCII a byte may stand for another character, or be part of one.
  if (!IsAscii(bytes_.substr(from, i - from))) {
    Discard();
    return std::nullopt;
  }
  section_ = &section;
  return i;
}

void XmlRows::Discard() {
  bytes_ = {};
  std::vector<std::uint32_t>().swap(valueStarts_);
  std::vector<std::uint32_t>().swap(rowEnds_);
}

// From after the row's start tag up to and with its end tag.
bool XmlRows::ReadRow(std::size_t& i) {
  for (;;) {
    SkipSpace(bytes_, i);
    if (Take(bytes_, i, rowClose_)) break;
    const std::size_t start = i;
    if (Take(bytes_, i, valueEmpty_)) {
      valueStarts_.push_back(static_cast<std::uint32_t>(start));  // the run before its "<" is empty
      continue;
    }
    if (!Take(bytes_, i, valueOpen_) || !ReadValue(i)) return false;
  }
  rowEnds_.push_back(static_cast<std::uint32_t>(valueStarts_.size()));
  return true;
}

// From after the value's start tag up to and with its end tag.
bool XmlRows::ReadValue(std::size_t& i) {
  const std::size_t start = i;
  const std::string_view run = TextRun(bytes_, start);
  i += run.size();
  if (!Take(bytes_, i, valueClose_)) return false;
  valueStarts_.push_back(static_cast<std::uint32_t>(start));
  return true;
}

std::span<const std::u16string_view> XmlRows::Row(std::size_t row) {
  texts_.clear();
  ends_.clear();
  for (std::size_t k = row == 0 ? 0 : rowEnds_[row - 1]; k < rowEnds_[row]; ++k) {
    AppendValue(valueStarts_[k]);
    ends_.push_back(texts_.size());
  }
  values_.clear();
  std::size_t start = 0;
  for (const std::size_t end : ends_) {
    values_.emplace_back(texts_.data() + start, end - start);
    start = end;
  }
  return values_;
}

// A value of whitespace only is empty, as a text run is only made of text that is not.
void XmlRows::AppendValue(std::size_t at) {
  const std::string_view run = TextRun(bytes_, at);
  if (std::all_of(run.begin(), run.end(), IsSpace)) return;
  const bool references = run.find('&') != std::string_view::npos;
  std::u16string& out = references ? scratch_ : texts_;
  const std::size_t start = references ? 0 : texts_.size();
  out.resize(start + run.size());
  // The bytes are ASCII: each is the code unit of its number.
  std::copy(run.begin(), run.end(), out.data() + start);
  if (references) AppendUnescaped(scratch_, texts_);
}

}  // namespace tasklane::xml
