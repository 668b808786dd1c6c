#include <unordered_map>

#include "xml/UpperCase.h"
#include "xml/XmlTree.h"

namespace tasklane::xml {

// Upper-cased name -> position of the last child of that name.
struct XmlElementList::NameIndex {
  std::unordered_map<std::u16string, int> last;
};

XmlElementList::XmlElementList(XmlElement* owner) : owner_(owner) {}
XmlElementList::~XmlElementList() = default;

void XmlElementList::NameChanged() { index_.reset(); }

XmlElement* XmlElementList::ChildNamed(std::u16string_view name) {
  if (!index_) {
    index_ = std::make_unique<NameIndex>();
    index_->last.reserve(children_.size());
    for (int i = 0; i < Count(); ++i) index_->last[ToUpper(ChildAt(i).Name())] = i;
  }
  const auto found = index_->last.find(ToUpper(name));
  return found == index_->last.end() ? nullptr : &ChildAt(found->second);
}

XmlElement& XmlElementList::Add(std::u16string_view name) {
  return Append(std::make_unique<XmlElement>(XmlNodeKind::Element, name));
}

XmlElement& XmlElementList::Add(std::u16string_view name, std::u16string_view value) {
  return Append(std::make_unique<XmlElement>(XmlNodeKind::Element, name, value));
}

XmlElement& XmlElementList::Append(std::unique_ptr<XmlElement> child) {
  return Append(XmlNodePtr(child.release()));
}

XmlElement& XmlElementList::Append(XmlNodePtr child) {
  child->parent_ = owner_;
  index_.reset();
  return *children_.emplace_back(std::move(child));
}

void XmlElementList::RemoveAt(int index) {
  index_.reset();
  children_.erase(children_.begin() + index);
}

void XmlElementList::Clear() {
  index_.reset();
  children_.clear();  // each child takes its own subtree apart without recursion
}

const XmlElement* XmlProlog::Declaration() const {
  for (int i = 0; i < Count(); ++i) {
    if (ChildAt(i).Kind() == XmlNodeKind::Declaration) return &ChildAt(i);
  }
  return nullptr;
}

}  // namespace tasklane::xml
