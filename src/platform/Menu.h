// The model of a popup menu: items found by name, with the flags a front end shows. The
// front end builds its native menu from it each time it opens.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tasklane::platform {

class MenuItem {
 public:
  explicit MenuItem(std::u16string_view name, std::u16string_view caption = {});
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  const std::u16string& Name() const { return name_; }
  const std::u16string& Caption() const { return caption_; }
  void SetCaption(std::u16string_view caption) { caption_ = caption; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked) { checked_ = checked; }
  // Items of one group above 0 show as radio items: one of them is checked.
  int RadioGroup() const { return radioGroup_; }
  void SetRadioGroup(int group) { radioGroup_ = group; }
  const std::u16string& Picture() const { return picture_; }
  void SetPicture(std::u16string_view picture) { picture_ = picture; }
  bool IsSeparator() const { return caption_ == u"-"; }

  void OnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
  void Click() {
    if (onClick_) onClick_();
  }
  // What the user's choice does: a radio item ticks itself and unticks the others of its
  // group first, then the item's handler runs.
  void Choose();
  // Runs before this item's submenu opens, so that its items can be built anew.
  void OnPopup(std::function<void()> handler) { onPopup_ = std::move(handler); }
  void Popup() {
    if (onPopup_) onPopup_();
  }
  MenuItem* Parent() const { return parent_; }

  int Count() const { return static_cast<int>(items_.size()); }
  MenuItem& At(int index) const { return *items_[static_cast<std::size_t>(index)]; }
  MenuItem& Add(std::u16string_view name, std::u16string_view caption = {});
  MenuItem& Insert(int index, std::u16string_view name, std::u16string_view caption = {});
  // Takes an item of this menu out and destroys it.
  void Remove(const MenuItem& item);
  // The item's position in this menu; -1 when it is not one of its items.
  int IndexOf(const MenuItem& item) const;
  void Clear() { items_.clear(); }
  // The item of that name here or anywhere below; nullptr when there is none.
  MenuItem* Find(std::u16string_view name);

 private:
  std::u16string name_;
  std::u16string caption_;
  bool visible_ = true;
  bool enabled_ = true;
  bool checked_ = false;
  int radioGroup_ = 0;
  std::u16string picture_;
  std::function<void()> onClick_;
  std::function<void()> onPopup_;
  MenuItem* parent_ = nullptr;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

}  // namespace tasklane::platform
