// MSAA's view of the main window over the core's description of it.
//
//  [x] the client area: named "Tasklane", folded or not, the focus, its parts in reading order
//  [x] the table: rows of cells, the title row as column headers, the current cell focused and
//      selected, cells scrolled away marked off-screen; a cell is made current by its action
//  [x] the editor: its column's title as its name, its text as its value, which may be set
//  [x] the buttons, named by their hints, pressed by their default action
//  [x] hit testing and navigation; event child ids on the client area
#include "backends/win32/win32_msaa.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "backends/win32/win32_accessible.h"
#include "backends/win32/win32_msaa_object.h"
#include "backends/win32/win32_parts.h"
#include "backends/win32/win32_state.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::win32 {

using mainwindow::AccessibleView;

namespace {

// Child ids on the client area for the parts that WinEvents name; negative, so that they
// never meet the positions of its own children.
constexpr LONG editorId = -1;
constexpr LONG firstButtonId = -2;  // down to -2 - (buttonCount - 1)
constexpr LONG firstCellId = -16;

std::optional<PartId> FromEventId(const Context& c, LONG id) {
  if (id == editorId) return PartId{Kind::Editor};
  if (id <= firstButtonId && id > firstButtonId - AccessibleView::buttonCount) {
    return PartId{Kind::Button, static_cast<int>(firstButtonId - id)};
  }
  const int cols = c.view.ColumnCount();
  if (id > firstCellId || cols <= 0) return std::nullopt;
  const std::int64_t index = static_cast<std::int64_t>(firstCellId) - id;
  return PartId{Kind::Cell, static_cast<int>(index % cols), static_cast<int>(index / cols)};
}

LONG Role(const PartId& p) {
  switch (p.kind) {
    case Kind::Client: return ROLE_SYSTEM_CLIENT;
    case Kind::Table: return ROLE_SYSTEM_TABLE;
    case Kind::Row: return ROLE_SYSTEM_ROW;
    case Kind::Cell: return p.row == 0 ? ROLE_SYSTEM_COLUMNHEADER : ROLE_SYSTEM_CELL;
    case Kind::Editor: return ROLE_SYSTEM_TEXT;
    case Kind::Button: return ROLE_SYSTEM_PUSHBUTTON;
  }
  return ROLE_SYSTEM_CLIENT;
}

LONG State(const Context& c, const PartId& p) {
  const AccessibleView& v = c.view;
  LONG s = 0;
  switch (p.kind) {
    case Kind::Client: s = STATE_SYSTEM_FOCUSABLE | (v.Folded() ? STATE_SYSTEM_COLLAPSED : STATE_SYSTEM_EXPANDED); break;
    case Kind::Cell:
      s = STATE_SYSTEM_READONLY | (TaskCell(p) ? STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE : 0);
      if (v.CurrentCol() == p.col && v.CurrentRow() == p.row) s |= STATE_SYSTEM_SELECTED;
      break;
    case Kind::Editor: s = STATE_SYSTEM_FOCUSABLE; break;
    default: break;
  }
  if (FocusedPart(c) == p) s |= STATE_SYSTEM_FOCUSED;
  if (!v.TakesInput()) s |= STATE_SYSTEM_UNAVAILABLE;
  if (p.kind != Kind::Client && Bounds(c, p).Height() <= 0) s |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
  return s;
}

std::optional<PartId> Navigate(const Context& c, const PartId& p, long direction) {
  switch (direction) {
    case NAVDIR_FIRSTCHILD: return ChildAt(c, p, 0);
    case NAVDIR_LASTCHILD: return ChildAt(c, p, ChildCount(c, p) - 1);
    case NAVDIR_UP:
    case NAVDIR_DOWN:
    case NAVDIR_LEFT:
    case NAVDIR_RIGHT: {
      if (p.kind != Kind::Cell) return std::nullopt;
      const int dx = direction == NAVDIR_LEFT ? -1 : direction == NAVDIR_RIGHT ? 1 : 0;
      const int dy = direction == NAVDIR_UP ? -1 : direction == NAVDIR_DOWN ? 1 : 0;
      PartId next{Kind::Cell, p.col + dx, p.row + dy};
      return Exists(c, next) ? std::optional(next) : std::nullopt;
    }
    case NAVDIR_NEXT: return Sibling(c, p, 1);
    case NAVDIR_PREVIOUS: return Sibling(c, p, -1);
    default: return std::nullopt;
  }
}

class Part final : public AccessibleObject {
 public:
  Part(HWND window, PartId id) : window_(window), id_(id) {}

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return Answer(SelfId(), [&](const Context& c, const PartId& p) -> HRESULT {
      if (p.kind == Kind::Client) return AccessibleObjectFromWindow(c.window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch, reinterpret_cast<void**>(parent));
      *parent = New(Parent(p));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return Answer(SelfId(), [&](const Context& c, const PartId& p) {
      *count = ChildCount(c, p);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsSelf(child)) return E_INVALIDARG;
    return Answer(child, [&](const Context&, const PartId& p) {
      *out = New(p);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    return Answer(child, [&](const Context& c, const PartId& p) { return Text(Name(c, p), name); });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!value) return E_POINTER;
    *value = nullptr;
    return Answer(child, [&](const Context& c, const PartId& p) {
      const std::optional<std::u16string> text = Value(c, p);
      return text ? Text(*text, value) : NoText(value);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (!description) return E_POINTER;
    *description = nullptr;
    return Answer(child, [&](const Context& c, const PartId& p) {
      const std::u16string text = Description(c, p);
      return text.empty() ? NoText(description) : Text(text, description);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    VariantInit(role);
    return Answer(child, [&](const Context&, const PartId& p) {
      return Number(Role(p), role);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    VariantInit(state);
    return Answer(child, [&](const Context& c, const PartId& p) {
      return Number(State(c, p), state);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    return Answer(SelfId(), [&](const Context& c, const PartId& p) -> HRESULT {
      const std::optional<PartId> focused = FocusedPart(c);
      if (!focused || !Within(*focused, p)) return Nothing(focus);
      return *focused == p ? Number(CHILDID_SELF, focus) : Object(*focused, focus);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    VariantInit(selection);
    return Answer(SelfId(), [&](const Context& c, const PartId& p) {
      const PartId current{Kind::Cell, c.view.CurrentCol(), c.view.CurrentRow()};
      if (p == current || !Exists(c, current) || !Within(current, p)) return Nothing(selection);
      return Object(current, selection);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    return Answer(child, [&](const Context&, const PartId& p) {
      if (TaskCell(p)) return Text(u"Select", action);
      if (p.kind == Kind::Button) return Text(u"Press", action);
      return NoText(action);
    });
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return Answer(child, [&](const Context& c, const PartId& p) -> HRESULT {
      if (!TaskCell(p)) return S_FALSE;
      if ((flags & (SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)) != 0) c.view.SelectCell(p.col, p.row);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    return Answer(child, [&](const Context& c, const PartId& p) {
      if (p.kind != Kind::Client && Bounds(c, p).Height() <= 0) return S_FALSE;
      return Location(ScreenBounds(c, p), left, top, width, height);
    });
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    VariantInit(end);
    return Answer(start, [&](const Context& c, const PartId& p) {
      const std::optional<PartId> next = Navigate(c, p, direction);
      return next ? Object(*next, end) : Nothing(end);
    });
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    VariantInit(hit);
    return Answer(SelfId(), [&](const Context& c, const PartId& p) {
      POINT device{x, y};
      ScreenToClient(c.window, &device);
      const platform::Point point = c.state.scale.Logical(device);
      const PartId found = PartAt(c, point);
      if (!Within(found, p)) return Nothing(hit);
      if (found == p) return Bounds(c, p).Contains(point) ? Number(CHILDID_SELF, hit) : Nothing(hit);
      return Object(found, hit);
    });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return Answer(child, [&](const Context& c, const PartId& p) -> HRESULT {
      if (TaskCell(p)) {
        c.view.SelectCell(p.col, p.row);
        return S_OK;
      }
      if (p.kind != Kind::Button) return DISP_E_MEMBERNOTFOUND;
      // A press may close the window: it waits until this call has returned.
      PostMessageW(c.window, accessiblePressMessage, static_cast<WPARAM>(p.col), 0);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return Answer(child, [&](const Context& c, const PartId& p) -> HRESULT {
      if (p.kind != Kind::Editor) return E_NOTIMPL;
      const std::u16string text(reinterpret_cast<const char16_t*>(value), value ? SysStringLen(value) : 0);
      c.view.ReplaceEditorText(0, static_cast<int>(c.view.EditorText().size()), text);
      return S_OK;
    });
  }

 private:

  IDispatch* New(const PartId& p) const { return new Part(window_, p); }

  HRESULT Object(const PartId& p, VARIANT* out) const { return AccessibleObject::Object(New(p), out); }

  // The part a call names: this one, one of its children by position, or on the client area a
  // part that an event named.
  std::optional<PartId> Resolve(const Context& c, const VARIANT& child) const {
    if (child.vt != VT_I4) return std::nullopt;
    if (child.lVal == CHILDID_SELF) return id_;
    if (child.lVal > 0) return ChildAt(c, id_, child.lVal - 1);
    if (id_.kind == Kind::Client) return FromEventId(c, child.lVal);
    return std::nullopt;
  }

  // Every call reads the window as it is now; nothing escapes to the caller but a result.
  template <typename Body>
  HRESULT Answer(const VARIANT& child, Body&& body) const {
    try {
      Win32State* state = LiveState(window_);
      if (!state) return RPC_E_DISCONNECTED;
      const Context c{window_, *state, state->form->Accessible};
      if (!Exists(c, id_)) return RPC_E_DISCONNECTED;
      const std::optional<PartId> part = Resolve(c, child);
      if (!part || !Exists(c, *part)) return E_INVALIDARG;
      return body(c, *part);
    } catch (...) {
      return E_FAIL;
    }
  }

  HWND window_;
  PartId id_;
};

}  // namespace

IAccessible* NewClientAccessible(HWND window) { return new Part(window, PartId{Kind::Client}); }

LONG EditorEventId() { return editorId; }

LONG CellEventId(HWND window, int col, int row) {
  Win32State* state = LiveState(window);
  if (!state) return CHILDID_SELF;
  const std::int64_t index = static_cast<std::int64_t>(row) * state->form->Accessible.ColumnCount() + col;
  const std::int64_t id = firstCellId - index;
  return id >= INT32_MIN && col >= 0 && row >= 0 ? static_cast<LONG>(id) : CHILDID_SELF;
}

}  // namespace tasklane::win32
