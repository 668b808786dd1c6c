#include "ui/PopupMenu.h"

namespace tasklane::ui {

MenuItem::MenuItem(std::u16string_view name, std::u16string_view caption) : name_(name), caption_(caption) {}

MenuItem& MenuItem::Add(std::u16string_view name, std::u16string_view caption) {
  return *items_.emplace_back(std::make_unique<MenuItem>(name, caption));
}

MenuItem* MenuItem::Find(std::u16string_view name) {
  if (name_ == name) return this;
  for (auto& item : items_) {
    if (MenuItem* found = item->Find(name)) return found;
  }
  return nullptr;
}

}  // namespace tasklane::ui
