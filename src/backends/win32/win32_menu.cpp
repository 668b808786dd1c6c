// Popup menus: the core's model built into a native menu each time it opens.
//
//  [x] visible items only; captions with their "&" mnemonics; enabled and checked
//  [x] separators ("-"), never two together nor one at an end
//  [x] radio items with radio marks (MFT_RADIOCHECK)
//  [x] submenus: their item's Popup() runs in WM_INITMENUPOPUP, and they are built anew then
//  [x] modal at a point of the screen (TrackPopupMenuEx); the chosen item is returned, never
//      clicked here; the SetForegroundWindow / WM_NULL dance, so that a menu opened from the
//      notification area closes when the user clicks elsewhere
//  [x] item pictures from the built-in art, as 32-bit premultiplied bitmaps that the menu's
//      owner draws with their transparency (HBMMENU_CALLBACK, WM_MEASUREITEM, WM_DRAWITEM)
#include <map>
#include <string>
#include <vector>

#include "art/Art.h"
#include "pictures/PictureFile.h"

#include "backends/win32/win32_platform.h"
#include "backends/win32/win32_state.h"
#include "backends/win32/win32_text.h"

namespace tasklane::win32 {

struct MenuSession {
  std::vector<platform::MenuItem*> commands;  // command id - 1 is the index
  std::map<HMENU, platform::MenuItem*> submenus;
  std::vector<HBITMAP> pictures;  // deleted when the menu has closed
};

namespace {

// A picture of the art as Windows draws menu pictures with their transparency: top-down,
// 32 bits, colours premultiplied by alpha. nullptr where there is no such picture.
HBITMAP MenuPicture(std::u16string_view fileName) {
  std::string name;
  for (const char16_t c : fileName) {
    if (c == 0 || c > 0x7F) return nullptr;
    name += static_cast<char>(c);
  }
  const std::string_view bytes = art::Find(name);
  if (bytes.empty() || name.size() < 4 || name.substr(name.size() - 4) != ".png") return nullptr;
  platform::Picture picture;
  try {
    picture = pictures::LoadPicture(bytes, pictures::PictureFormat::Png);
  } catch (const platform::PictureError&) {
    return nullptr;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.Width();
  info.bmiHeader.biHeight = -picture.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  auto* out = static_cast<std::uint32_t*>(bits);
  for (const platform::Argb pixel : picture.Pixels()) {
    const std::uint32_t alpha = picture.HasAlpha() ? platform::AlphaOf(pixel) : 255;
    const auto premultiplied = [alpha](std::uint32_t channel) { return (channel * alpha + 127) / 255; };
    *out++ = alpha << 24 | premultiplied(pixel >> 16 & 0xFF) << 16 | premultiplied(pixel >> 8 & 0xFF) << 8 |
             premultiplied(pixel & 0xFF);
  }
  return bitmap;
}

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
  // NOTE: Wine draws a 32-bit menu bitmap without its alpha; drawn by the owner it keeps it.
  if (HBITMAP picture = item.Picture().empty() ? nullptr : MenuPicture(item.Picture())) {
    session.pictures.push_back(picture);
    info.fMask |= MIIM_BITMAP | MIIM_DATA;
    info.hbmpItem = HBMMENU_CALLBACK;
    info.dwItemData = session.pictures.size();  // the picture's index + 1
  }
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

namespace {

HBITMAP PictureOf(const Win32State& state, ULONG_PTR itemData) {
  if (!state.menu || itemData == 0 || itemData > state.menu->pictures.size()) return nullptr;
  return state.menu->pictures[itemData - 1];
}

}  // namespace

bool OnMeasureMenuPicture(Win32State& state, MEASUREITEMSTRUCT& measure) {
  HBITMAP picture = measure.CtlType == ODT_MENU ? PictureOf(state, measure.itemData) : nullptr;
  if (!picture) return false;
  BITMAP size{};
  GetObjectW(picture, sizeof(size), &size);
  measure.itemWidth = static_cast<UINT>(state.scale.Device(size.bmWidth));
  measure.itemHeight = static_cast<UINT>(state.scale.Device(size.bmHeight));
  return true;
}

bool OnDrawMenuPicture(Win32State& state, const DRAWITEMSTRUCT& draw) {
  HBITMAP picture = draw.CtlType == ODT_MENU ? PictureOf(state, draw.itemData) : nullptr;
  if (!picture) return false;
  BITMAP size{};
  GetObjectW(picture, sizeof(size), &size);
  HDC source = CreateCompatibleDC(draw.hDC);
  HGDIOBJ kept = SelectObject(source, picture);
  // As large to the eye as the menu's text on any screen.
  const int width = state.scale.Device(size.bmWidth);
  const int height = state.scale.Device(size.bmHeight);
  const int left = draw.rcItem.left + (draw.rcItem.right - draw.rcItem.left - width) / 2;
  const int top = draw.rcItem.top + (draw.rcItem.bottom - draw.rcItem.top - height) / 2;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(draw.hDC, left, top, width, height, source, 0, 0, size.bmWidth, size.bmHeight, blend);
  SelectObject(source, kept);
  DeleteDC(source);
  return true;
}

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
  const POINT at = state_->screens.Device(screen);
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, state_->window, nullptr));
  PostMessageW(state_->window, WM_NULL, 0, 0);
  state_->menu = nullptr;
  DestroyMenu(popup);  // with its submenus
  for (HBITMAP picture : session.pictures) DeleteObject(picture);
  if (chosen == 0 || chosen > session.commands.size()) return nullptr;
  return session.commands[chosen - 1];
}

}  // namespace tasklane::win32
