// A dialog window's client area for screen readers: a client named by the window's title
// whose children, by position, are the core's parts.
//
//  [x] texts, links and buttons with their names and places, in reading order
//  [x] a link's or a button's default action, run from the window's message loop
//  [x] hit testing and navigation between the parts
#include "backends/win32/win32_msaa_dialog.h"

#include <vector>

#include "backends/win32/win32_msaa_object.h"

namespace tasklane::win32 {

using platform::AccessiblePart;
using platform::AccessibleRole;

namespace {

LONG Role(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::Link: return ROLE_SYSTEM_LINK;
    case AccessibleRole::Button: return ROLE_SYSTEM_PUSHBUTTON;
    default: return ROLE_SYSTEM_STATICTEXT;
  }
}

class DialogClient final : public AccessibleObject {
 public:
  DialogClient(HWND window, DialogLookup lookup) : window_(window), lookup_(lookup) {}

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch, reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return Answer(SelfId(), [&](const std::vector<AccessiblePart>& parts, int) {
      *count = static_cast<long>(parts.size());
      return S_OK;
    });
  }
  // The parts are simple elements, answered here by their child ids.
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    return Answer(child, [&](const std::vector<AccessiblePart>& parts, int index) -> HRESULT {
      if (index >= 0) return Text(parts[static_cast<std::size_t>(index)].name, name);
      wchar_t title[256] = {};
      const int length = GetWindowTextW(window_, title, 256);
      return Text(std::u16string(title, title + length), name);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override { return value ? NoText(value) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* description) override {
    return description ? NoText(description) : E_POINTER;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    VariantInit(role);
    return Answer(child, [&](const std::vector<AccessiblePart>& parts, int index) {
      return Number(index < 0 ? ROLE_SYSTEM_CLIENT : Role(parts[static_cast<std::size_t>(index)].role), role);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    VariantInit(state);
    return Answer(child, [&](const std::vector<AccessiblePart>& parts, int index) {
      if (index < 0) return Number(GetFocus() == window_ ? STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED : STATE_SYSTEM_FOCUSABLE, state);
      const AccessibleRole role = parts[static_cast<std::size_t>(index)].role;
      return Number(role == AccessibleRole::Link ? STATE_SYSTEM_LINKED : role == AccessibleRole::Text ? STATE_SYSTEM_READONLY : 0, state);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    return GetFocus() == window_ ? Number(CHILDID_SELF, focus) : Nothing(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    VariantInit(selection);
    return Nothing(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    return Answer(child, [&](const std::vector<AccessiblePart>& parts, int index) {
      const AccessibleRole role = index < 0 ? AccessibleRole::Text : parts[static_cast<std::size_t>(index)].role;
      if (role == AccessibleRole::Link) return Text(u"Jump", action);
      if (role == AccessibleRole::Button) return Text(u"Press", action);
      return NoText(action);
    });
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    return Answer(child, [&](const std::vector<AccessiblePart>& parts, int index) {
      RECT device{};
      if (index < 0) GetClientRect(window_, &device);
      else device = reading_.scale.Device(parts[static_cast<std::size_t>(index)].bounds);
      MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&device), 2);
      return Location(device, left, top, width, height);
    });
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    VariantInit(end);
    return Answer(start, [&](const std::vector<AccessiblePart>& parts, int index) {
      const int count = static_cast<int>(parts.size());
      int next = -1;
      if (index < 0 && direction == NAVDIR_FIRSTCHILD) next = 0;
      if (index < 0 && direction == NAVDIR_LASTCHILD) next = count - 1;
      if (index >= 0 && direction == NAVDIR_NEXT) next = index + 1;
      if (index >= 0 && direction == NAVDIR_PREVIOUS) next = index - 1;
      return next >= 0 && next < count ? Number(next + 1, end) : Nothing(end);
    });
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    VariantInit(hit);
    return Answer(SelfId(), [&](const std::vector<AccessiblePart>& parts, int) {
      POINT device{x, y};
      ScreenToClient(window_, &device);
      RECT client{};
      GetClientRect(window_, &client);
      if (!PtInRect(&client, device)) return Nothing(hit);
      const platform::Point point = reading_.scale.Logical(device);
      for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].bounds.Contains(point)) return Number(static_cast<LONG>(i + 1), hit);
      }
      return Number(CHILDID_SELF, hit);
    });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return Answer(child, [&](const std::vector<AccessiblePart>& parts, int index) -> HRESULT {
      if (index < 0 || parts[static_cast<std::size_t>(index)].role == AccessibleRole::Text) return DISP_E_MEMBERNOTFOUND;
      PostMessageW(window_, dialogActivateMessage, static_cast<WPARAM>(index), 0);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  // `body` gets the parts and the part the child id names, -1 for the client itself.
  template <typename Body>
  HRESULT Answer(const VARIANT& child, Body&& body) {
    try {
      if (!IsWindow(window_) || !lookup_(window_, reading_)) return RPC_E_DISCONNECTED;
      const std::vector<AccessiblePart> parts = reading_.events->AccessibleParts();
      if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > static_cast<LONG>(parts.size())) return E_INVALIDARG;
      return body(parts, static_cast<int>(child.lVal) - 1);
    } catch (...) {
      return E_FAIL;
    }
  }

  HWND window_;
  DialogLookup lookup_;
  DialogReading reading_;
};

}  // namespace

IAccessible* NewDialogAccessible(HWND window, DialogLookup lookup) { return new DialogClient(window, lookup); }

}  // namespace tasklane::win32
