#include "xml/XmlNodePool.h"

#include <algorithm>
#include <new>

namespace tasklane::xml {

XmlNodePtr XmlNodePool::Make(XmlNodeKind kind, std::u16string_view name, std::u16string_view value) {
  if (used_ == nodesPerBlock) {
    blocks_.push_back(std::make_unique_for_overwrite<Slot[]>(nodesPerBlock));
    used_ = 0;
  }
  auto* node = new (blocks_.back()[used_].bytes) XmlElement(kind, name, value);
  ++used_;
  node->pooled_ = true;
  return XmlNodePtr(node);
}

void XmlNodePool::SetName(XmlElement& node, std::u16string_view name) {
  if (!node.pooled_ || node.parent_) {
    node.SetName(name);
    return;
  }
  if (!name.empty()) node.name_ = name;
}

void XmlNodePool::SetValue(XmlElement& node, std::u16string_view value) {
  if (node.pooled_) node.value_ = value;
  else node.SetValue(value);
}

void XmlNodePool::Keep(std::unique_ptr<std::u16string> text) { keptTexts_.push_back(std::move(text)); }

// Texts follow each other in blocks that never move; one longer than a block gets its own.
std::u16string_view XmlNodePool::Store(std::u16string_view text) {
  if (text.empty()) return {};
  if (text.size() > textRoom_) {
    const std::size_t units = std::max(text.size(), unitsPerTextBlock);
    textBlocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(units));
    textNext_ = textBlocks_.back().get();
    textRoom_ = units;
  }
  char16_t* const at = textNext_;
  std::copy(text.begin(), text.end(), at);
  textNext_ += text.size();
  textRoom_ -= text.size();
  return {at, text.size()};
}

void XmlNodePool::Reset() {
  blocks_.clear();
  used_ = nodesPerBlock;
  textBlocks_.clear();
  textNext_ = nullptr;
  textRoom_ = 0;
  keptTexts_.clear();
}

void XmlNodeDeleter::operator()(XmlElement* node) const {
  if (node->pooled_) node->~XmlElement();
  else delete node;
}

}  // namespace tasklane::xml
