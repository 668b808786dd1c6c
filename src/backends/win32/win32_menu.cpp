// Popup menus: the core's model built into a native menu each time it opens.
//
//  [x] visible items only; captions with their "&" mnemonics; enabled and checked
//  [x] separators ("-"), never two together nor one at an end
//  [x] radio items with radio marks (MFT_RADIOCHECK)
//  [x] submenus: their item's Popup() runs in WM_INITMENUPOPUP, and they are built anew then
//  [x] modal at a point of the screen (TrackPopupMenuEx); the chosen item is returned, never
//      clicked here; the SetForegroundWindow / WM_NULL dance, so that a menu opened from the
//      notification area closes when the user clicks elsewhere
//  [ ] item pictures
#include <map>
#include <vector>

#include "backends/win32/win32_platform.h"
#include "backends/win32/win32_state.h"
#include "backends/win32/win32_text.h"

namespace tasklane::win32 {

struct MenuSession {
  std::vector<platform::MenuItem*> commands;  // command id - 1 is the index
  std::map<HMENU, platform::MenuItem*> submenus;
};

namespace {

void Clear(HMENU menu) {
  while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
}

bool LastIsSeparator(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  if (count <= 0) return true;  // nothing yet: no separator may open the menu
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(menu, static_cast<UINT>(count - 1), TRUE, &info);
  return (info.fType & MFT_SEPARATOR) != 0;
}

void AddItem(HMENU menu, platform::MenuItem& item, MenuSession& session) {
  const std::wstring caption = Wide(item.Caption());
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
  info.fType = item.RadioGroup() > 0 ? MFT_RADIOCHECK : MFT_STRING;
  info.fState = (item.Enabled() ? MFS_ENABLED : MFS_DISABLED) | (item.Checked() ? MFS_CHECKED : MFS_UNCHECKED);
  info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
  if (item.Count() > 0) {
    HMENU submenu = CreatePopupMenu();
    session.submenus[submenu] = &item;
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = submenu;
  } else {
    session.commands.push_back(&item);
    info.fMask |= MIIM_ID;
    info.wID = static_cast<UINT>(session.commands.size());
  }
  InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

void Fill(HMENU menu, platform::MenuItem& model, MenuSession& session) {
  Clear(menu);
  for (int i = 0; i < model.Count(); ++i) {
    platform::MenuItem& item = model.At(i);
    if (!item.Visible()) continue;
    if (item.IsSeparator()) {
      if (!LastIsSeparator(menu)) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    AddItem(menu, item, session);
  }
  const int count = GetMenuItemCount(menu);
  if (count > 0 && LastIsSeparator(menu)) DeleteMenu(menu, static_cast<UINT>(count - 1), MF_BYPOSITION);
}

}  // namespace

// A submenu is built from its item as it stands when the submenu opens.
void OnInitMenuPopup(Win32State& state, HMENU menu) {
  if (!state.menu) return;
  const auto found = state.menu->submenus.find(menu);
  if (found == state.menu->submenus.end()) return;
  found->second->Popup();
  Fill(menu, *found->second, *state.menu);
}

platform::MenuItem* Win32Platform::OpenPopupMenu(platform::MenuItem& menu, platform::Point screen) {
  MenuSession session;
  HMENU popup = CreatePopupMenu();
  Fill(popup, menu, session);
  state_->menu = &session;
  // NOTE: a menu of a window that is not in the foreground stays open when the user clicks
  // elsewhere; the window comes to the foreground first, and a message after the menu lets
  // the system finish with it.
  SetForegroundWindow(state_->window);
  const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                         screen.x, screen.y, state_->window, nullptr));
  PostMessageW(state_->window, WM_NULL, 0, 0);
  state_->menu = nullptr;
  DestroyMenu(popup);  // with its submenus
  if (chosen == 0 || chosen > session.commands.size()) return nullptr;
  return session.commands[chosen - 1];
}

}  // namespace tasklane::win32
