#include "platform/Menu.h"

#include <algorithm>

namespace tasklane::platform {

MenuItem::MenuItem(std::u16string_view name, std::u16string_view caption) : name_(name), caption_(caption) {}

MenuItem& MenuItem::Add(std::u16string_view name, std::u16string_view caption) { return Insert(Count(), name, caption); }

MenuItem& MenuItem::Insert(int index, std::u16string_view name, std::u16string_view caption) {
  const auto at = items_.begin() + std::clamp(index, 0, Count());
  MenuItem& item = **items_.insert(at, std::make_unique<MenuItem>(name, caption));
  item.parent_ = this;
  return item;
}

void MenuItem::Remove(const MenuItem& item) {
  const int index = IndexOf(item);
  if (index >= 0) items_.erase(items_.begin() + index);
}

int MenuItem::IndexOf(const MenuItem& item) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == &item) return static_cast<int>(i);
  }
  return -1;
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
