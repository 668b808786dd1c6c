#include "platform/Menu.h"

namespace tasklane::platform {

MenuItem::MenuItem(std::u16string_view name, std::u16string_view caption) : name_(name), caption_(caption) {}

MenuItem& MenuItem::Add(std::u16string_view name, std::u16string_view caption) {
  MenuItem& item = *items_.emplace_back(std::make_unique<MenuItem>(name, caption));
  item.parent_ = this;
  return item;
}

void MenuItem::Choose() {
  if (radioGroup_ > 0 && parent_) {
    for (auto& sibling : parent_->items_) {
      if (sibling->radioGroup_ == radioGroup_) sibling->checked_ = false;
    }
    checked_ = true;
  }
  Click();
}

MenuItem* MenuItem::Find(std::u16string_view name) {
  if (name_ == name) return this;
  for (auto& item : items_) {
    if (MenuItem* found = item->Find(name)) return found;
  }
  return nullptr;
}

}  // namespace tasklane::platform
