#include "xml/XmlTree.h"

namespace tasklane::xml {

struct XmlElement::Extras {
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
    : kind_(kind), name_(name), value_(value) {}

// Children are taken apart level by level instead of by recursion, so that no tree is too
// deep to be destroyed.
XmlElement::~XmlElement() {
  if (!items_) return;
  std::vector<std::unique_ptr<XmlElement>> pending = std::move(items_->children_);
  while (!pending.empty()) {
    std::unique_ptr<XmlElement> node = std::move(pending.back());
    pending.pop_back();
    if (node->items_) {
      for (auto& child : node->items_->children_) pending.push_back(std::move(child));
      node->items_->children_.clear();
    }
  }
}

void XmlElement::SetName(std::u16string_view name) {
  if (name.empty() || name == name_) return;
  name_ = name;
  if (parent_ && parent_->items_) parent_->items_->NameChanged();
}

const std::u16string& XmlElement::NameSpace() const {
  return extras_ ? extras_->nameSpace : emptyText;
}

void XmlElement::SetNameSpace(std::u16string_view nameSpace) {
  if (extras_ || !nameSpace.empty()) MakeExtras().nameSpace = nameSpace;
}

XmlElementList& XmlElement::Items() {
  if (!items_) items_ = std::make_unique<XmlElementList>(this);
  return *items_;
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
