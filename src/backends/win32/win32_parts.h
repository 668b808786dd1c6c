// The main window's parts as both screen-reader interfaces walk them (MSAA in win32_msaa.cpp,
// UI Automation in win32_uia.cpp): the client area holding the table, the editor and the
// buttons; the table holding its rows (row 0 the column titles) and the rows their cells. A
// part is named by value, read from the core's description each time it is asked for, so
// that what a screen reader holds on to never goes stale.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "mainwindow/AccessibleView.h"
#include "platform/Geometry.h"

namespace tasklane::win32 {

struct Win32State;

enum class Kind { Client, Table, Row, Cell, Editor, Button };

struct PartId {
  Kind kind = Kind::Client;
  int col = -1;  // a cell's column, or a button's id
  int row = -1;  // a row's or a cell's row
  bool operator==(const PartId&) const = default;
};

struct Context {
  HWND window;
  Win32State& state;
  mainwindow::AccessibleView& view;
};

// The window's state while it still has its core; nullptr once the window or its form is gone.
Win32State* LiveState(HWND window);

bool Exists(const Context& c, const PartId& p);
// The client area's parts in reading order: the table, its editor, then the buttons.
std::vector<PartId> ClientChildren(const Context& c);
int ChildCount(const Context& c, const PartId& p);
std::optional<PartId> ChildAt(const Context& c, const PartId& p, int index);
PartId Parent(const PartId& p);
// The sibling `step` places after `p` (before it when negative).
std::optional<PartId> Sibling(const Context& c, const PartId& p, int step);
std::u16string Name(const Context& c, const PartId& p);
std::optional<std::u16string> Value(const Context& c, const PartId& p);
// A task's cell is described by its column's title; the folded window says so.
std::u16string Description(const Context& c, const PartId& p);
bool HasFocus(const Context& c);
// The part that has the keyboard focus inside the window: the editor, the current cell or the
// client area itself; nothing while the window does not have it.
std::optional<PartId> FocusedPart(const Context& c);
// In window coordinates; empty for a part out of view.
platform::Rect Bounds(const Context& c, const PartId& p);
// The same on the screen, in its pixels; the client area's exactly as Windows has it.
RECT ScreenBounds(const Context& c, const PartId& p);
// A task's cell, which a click can make current; the title row's cannot be.
inline bool TaskCell(const PartId& p) { return p.kind == Kind::Cell && p.row > 0; }
// The deepest part under a point of the window.
PartId PartAt(const Context& c, platform::Point point);
bool Within(const PartId& inner, const PartId& outer);

}  // namespace tasklane::win32
