#include "xml/XmlNodePool.h"

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

void XmlNodePool::Reset() {
  blocks_.clear();
  used_ = nodesPerBlock;
}

void XmlNodeDeleter::operator()(XmlElement* node) const {
  if (node->pooled_) node->~XmlElement();
  else delete node;
}

}  // namespace tasklane::xml
