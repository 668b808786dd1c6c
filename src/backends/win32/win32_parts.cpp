// The main window's parts for the screen-reader interfaces, over the core's description.
#include "backends/win32/win32_parts.h"

#include "backends/win32/win32_state.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::win32 {

using mainwindow::AccessibleView;

Win32State* LiveState(HWND window) {
  if (!IsWindow(window)) return nullptr;
  auto* state = reinterpret_cast<Win32State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return state && state->form ? state : nullptr;
}

bool Exists(const Context& c, const PartId& p) {
  const AccessibleView& v = c.view;
  switch (p.kind) {
    case Kind::Client: return true;
    case Kind::Table: return v.TableShown();
    case Kind::Row: return v.TableShown() && p.row >= 0 && p.row < v.RowCount();
    case Kind::Cell:
      return v.TableShown() && p.row >= 0 && p.row < v.RowCount() && p.col >= 0 && p.col < v.ColumnCount();
    case Kind::Editor: return v.Editing();
    case Kind::Button:
      for (const AccessibleView::Button& b : v.Buttons()) {
        if (b.id == p.col) return true;
      }
      return false;
  }
  return false;
}

std::vector<PartId> ClientChildren(const Context& c) {
  std::vector<PartId> children;
  if (c.view.TableShown()) children.push_back({Kind::Table});
  if (c.view.Editing()) children.push_back({Kind::Editor});
  for (const AccessibleView::Button& b : c.view.Buttons()) children.push_back({Kind::Button, b.id});
  return children;
}

int ChildCount(const Context& c, const PartId& p) {
  switch (p.kind) {
    case Kind::Client: return static_cast<int>(ClientChildren(c).size());
    case Kind::Table: return c.view.RowCount();
    case Kind::Row: return c.view.ColumnCount();
    default: return 0;
  }
}

std::optional<PartId> ChildAt(const Context& c, const PartId& p, int index) {
  if (index < 0 || index >= ChildCount(c, p)) return std::nullopt;
  switch (p.kind) {
    case Kind::Client: return ClientChildren(c)[static_cast<std::size_t>(index)];
    case Kind::Table: return PartId{Kind::Row, -1, index};
    case Kind::Row: return PartId{Kind::Cell, index, p.row};
    default: return std::nullopt;
  }
}

PartId Parent(const PartId& p) {
  switch (p.kind) {
    case Kind::Row: return {Kind::Table};
    case Kind::Cell: return {Kind::Row, -1, p.row};
    default: return {Kind::Client};
  }
}

std::u16string Name(const Context& c, const PartId& p) {
  const AccessibleView& v = c.view;
  switch (p.kind) {
    case Kind::Client: return std::u16string(v.WindowName());
    case Kind::Cell: return std::u16string(v.CellText(p.col, p.row));
    case Kind::Editor: return std::u16string(v.CellText(v.CurrentCol(), 0));  // as a label names an edit box
    case Kind::Button:
      for (const AccessibleView::Button& b : v.Buttons()) {
        if (b.id == p.col) return b.name;
      }
      return {};
    default: return {};
  }
}

std::optional<std::u16string> Value(const Context& c, const PartId& p) {
  if (p.kind == Kind::Cell) return std::u16string(c.view.CellText(p.col, p.row));
  if (p.kind == Kind::Editor) return c.view.EditorText();
  return std::nullopt;
}

std::u16string Description(const Context& c, const PartId& p) {
  if (p.kind == Kind::Client) return c.view.WindowDescription();
  if (p.kind == Kind::Cell && p.row > 0) return std::u16string(c.view.CellText(p.col, 0));
  return {};
}

bool HasFocus(const Context& c) { return GetFocus() == c.window; }

platform::Rect Bounds(const Context& c, const PartId& p) {
  const AccessibleView& v = c.view;
  switch (p.kind) {
    case Kind::Client: {
      RECT client{};
      GetClientRect(c.window, &client);
      return c.state.scale.Logical(client);
    }
    case Kind::Table: return v.TableBounds();
    case Kind::Row: {
      // The table's width, at the height of a cell of the row that is in view.
      for (int col = 0; col < v.ColumnCount(); ++col) {
        const platform::Rect cell = v.CellBounds(col, p.row);
        if (cell.Height() > 0) return {v.TableBounds().left, cell.top, v.TableBounds().right, cell.bottom};
      }
      return {};
    }
    case Kind::Cell: return v.CellBounds(p.col, p.row);
    case Kind::Editor: return v.EditorBounds();
    case Kind::Button:
      for (const AccessibleView::Button& b : v.Buttons()) {
        if (b.id == p.col) return b.bounds;
      }
      return {};
  }
  return {};
}

// The deepest part under a point of the window: the buttons lie over the table, and the
// editor over its cell.
PartId PartAt(const Context& c, platform::Point point) {
  const std::vector<PartId> children = ClientChildren(c);
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (it->kind == Kind::Table) break;
    if (Bounds(c, *it).Contains(point)) return *it;
  }
  int col = 0;
  int row = 0;
  if (c.view.CellAt(point, col, row)) return {Kind::Cell, col, row};
  if (c.view.TableShown() && c.view.TableBounds().Contains(point)) return {Kind::Table};
  return {Kind::Client};
}

bool Within(const PartId& inner, const PartId& outer) {
  for (PartId p = inner;; p = Parent(p)) {
    if (p == outer) return true;
    if (p.kind == Kind::Client) return false;
  }
}


RECT ScreenBounds(const Context& c, const PartId& p) {
  RECT device{};
  if (p.kind == Kind::Client) GetClientRect(c.window, &device);
  else device = c.state.scale.Device(Bounds(c, p));
  MapWindowPoints(c.window, nullptr, reinterpret_cast<POINT*>(&device), 2);
  return device;
}

std::optional<PartId> Sibling(const Context& c, const PartId& p, int step) {
  if (p.kind == Kind::Client) return std::nullopt;
  const PartId parent = Parent(p);
  const int count = ChildCount(c, parent);
  for (int i = 0; i < count; ++i) {
    if (ChildAt(c, parent, i) == p) return ChildAt(c, parent, i + step);
  }
  return std::nullopt;
}

std::optional<PartId> FocusedPart(const Context& c) {
  if (!HasFocus(c)) return std::nullopt;
  if (c.view.Editing() && c.view.TableFocused()) return PartId{Kind::Editor};
  const PartId cell{Kind::Cell, c.view.CurrentCol(), c.view.CurrentRow()};
  if (c.view.TableFocused() && Exists(c, cell)) return cell;
  return PartId{Kind::Client};
}

}  // namespace tasklane::win32
