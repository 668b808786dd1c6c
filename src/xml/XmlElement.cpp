#include "xml/XmlTree.h"

namespace tasklane::xml {

struct XmlElement::Extras {
  std::u16string name;
  std::u16string value;
  std::u16string nameSpace;
  XmlPropertyList properties;
  std::u16string version = u"1.0";
  std::u16string encoding = u"iso-8859-1";
  bool standAlone = false;
};

namespace {
const std::u16string emptyText;
const std::u16string defaultVersion = u"1.0";
const std::u16string defaultEncoding = u"iso-8859-1";
}  // namespace

XmlElement::XmlElement(XmlNodeKind kind, std::u16string_view name, std::u16string_view value)
    : kind_(kind), items_(this) {
  SetName(name);
  if (!value.empty()) SetValue(value);
}

// Children are taken apart depth first with a stack of our own instead of by recursion, so
// that no tree is too deep to be destroyed. A list is emptied once all its children have
// lost theirs.
XmlElement::~XmlElement() {
  if (items_.children_.empty()) return;
  struct Frame {
    XmlElementList* list;
    std::size_t next;
  };
  std::vector<Frame> stack{{&items_, 0}};
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next < frame.list->children_.size()) {
      XmlElement& child = *frame.list->children_[frame.next++];
      if (!child.items_.children_.empty()) stack.push_back({&child.items_, 0});
      continue;
    }
    frame.list->children_.clear();
    stack.pop_back();
  }
}

void XmlElement::SetName(std::u16string_view name) {
  if (name.empty() || name == name_) return;
  Extras& extras = MakeExtras();
  extras.name = name;
  name_ = extras.name;
  if (parent_) parent_->items_.NameChanged();
}

void XmlElement::SetValue(std::u16string_view value) {
  Extras& extras = MakeExtras();
  extras.value = value;
  value_ = extras.value;
}

const std::u16string& XmlElement::NameSpace() const {
  return extras_ ? extras_->nameSpace : emptyText;
}

void XmlElement::SetNameSpace(std::u16string_view nameSpace) {
  if (extras_ || !nameSpace.empty()) MakeExtras().nameSpace = nameSpace;
}

XmlPropertyList& XmlElement::Properties() { return MakeExtras().properties; }

const XmlPropertyList* XmlElement::PropertiesOrNull() const {
  return extras_ ? &extras_->properties : nullptr;
}

const std::u16string& XmlElement::Version() const {
  return extras_ ? extras_->version : defaultVersion;
}

void XmlElement::SetVersion(std::u16string_view version) { MakeExtras().version = version; }

const std::u16string& XmlElement::Encoding() const {
  return extras_ ? extras_->encoding : defaultEncoding;
}

void XmlElement::SetEncoding(std::u16string_view encoding) { MakeExtras().encoding = encoding; }

bool XmlElement::StandAlone() const { return extras_ && extras_->standAlone; }

void XmlElement::SetStandAlone(bool standAlone) { MakeExtras().standAlone = standAlone; }

XmlElement::Extras& XmlElement::MakeExtras() {
  if (!extras_) extras_ = std::make_unique<Extras>();
  return *extras_;
}

XmlProperty& XmlPropertyList::Add(std::u16string_view name, std::u16string_view value,
                                  std::u16string_view nameSpace) {
  return items_.emplace_back(XmlProperty{std::u16string(name), std::u16string(nameSpace),
                                         std::u16string(value)});
}

const XmlProperty* XmlPropertyList::Find(std::u16string_view name) const {
  for (const XmlProperty& p : items_) {
    if (p.name == name) return &p;
  }
  return nullptr;
}

}  // namespace tasklane::xml
