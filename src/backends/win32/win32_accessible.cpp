// Screen readers on Windows: the window's MSAA object, the core's changes as WinEvents, and
// the system caret at the editor's caret.
//
//  [x] WM_GETOBJECT for OBJID_CLIENT: the client area's IAccessible (win32_msaa.cpp), and for
//      UI Automation's root: the client area's provider (win32_uia.cpp)
//  [x] focus on the current cell or the editor; texts, selection, the table's shape, folding
//  [x] a hidden system caret that follows the editor's, made and destroyed with its focus
//  [x] a screen reader's press on a button, run from the message loop
#include "backends/win32/win32_accessible.h"

#include <oleacc.h>

#include <algorithm>

#include "backends/win32/win32_msaa.h"
#include "backends/win32/win32_msaa_object.h"
#include "backends/win32/win32_state.h"
#include "backends/win32/win32_uia.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::win32 {

using platform::AccessibleChange;

namespace {

void Notify(const Win32State& state, DWORD event, LONG child) {
  NotifyWinEvent(event, state.window, OBJID_CLIENT, child);
}

// NOTE: screen readers and magnifiers follow the system caret of an edit box they do not
// know; the core draws its own, so this one is never shown. Moving it raises the caret's
// location change by itself.
void FollowCaret(Win32State& state) {
  const mainwindow::AccessibleView& view = state.form->Accessible;
  const bool wanted = view.Editing() && view.TableFocused() && GetFocus() == state.window;
  if (!wanted) {
    HideSystemCaret(state);
    return;
  }
  const RECT at = state.scale.Device(view.EditorCharacterBounds(view.EditorCaret()));
  const int height = std::max<int>(1, at.bottom - at.top);
  if (state.caretHeight != height) {
    HideSystemCaret(state);
    if (!CreateCaret(state.window, nullptr, 1, height)) return;
    state.caretHeight = height;
  }
  SetCaretPos(at.left, at.top);
}

}  // namespace

LRESULT AnswerGetObject(Win32State& state, HWND window, WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) == uiaRootObjectId) {
    state.uiaAsked = true;
    return AnswerUiaRoot(window, wParam, lParam);
  }
  return AnswerGetObject(window, wParam, lParam, [&] { return NewClientAccessible(window); });
}

namespace {

void TellWinEvents(Win32State& state, const platform::AccessibleEvent& event) {
  const LONG cell = CellEventId(state.window, event.col, event.row);
  switch (event.change) {
    case AccessibleChange::CellFocus:
      Notify(state, EVENT_OBJECT_FOCUS, cell);
      Notify(state, EVENT_OBJECT_SELECTION, cell);
      break;
    case AccessibleChange::EditorFocus: Notify(state, EVENT_OBJECT_FOCUS, EditorEventId()); break;
    case AccessibleChange::CellText:
      Notify(state, EVENT_OBJECT_NAMECHANGE, cell);
      Notify(state, EVENT_OBJECT_VALUECHANGE, cell);
      break;
    case AccessibleChange::EditorText: Notify(state, EVENT_OBJECT_VALUECHANGE, EditorEventId()); break;
    case AccessibleChange::Caret: Notify(state, EVENT_OBJECT_TEXTSELECTIONCHANGED, EditorEventId()); break;
    case AccessibleChange::TableShape: Notify(state, EVENT_OBJECT_REORDER, CHILDID_SELF); break;
    case AccessibleChange::WindowState:
      Notify(state, EVENT_OBJECT_STATECHANGE, CHILDID_SELF);
      Notify(state, EVENT_OBJECT_REORDER, CHILDID_SELF);
      break;
  }
}

// Only once a client has asked for the window's root can one hold its elements.
void TellUia(Win32State& state, const platform::AccessibleEvent& event) {
  if (!state.uiaAsked) return;
  const mainwindow::AccessibleView& view = state.form->Accessible;
  const PartId cell{Kind::Cell, event.col, event.row};
  switch (event.change) {
    case AccessibleChange::CellFocus: RaiseUiaFocus(state.window, cell); break;
    case AccessibleChange::EditorFocus: RaiseUiaFocus(state.window, PartId{Kind::Editor}); break;
    case AccessibleChange::CellText:
      RaiseUiaValue(state.window, cell, std::u16string(view.CellText(event.col, event.row)));
      break;
    case AccessibleChange::EditorText: RaiseUiaValue(state.window, PartId{Kind::Editor}, view.EditorText()); break;
    case AccessibleChange::Caret: break;
    case AccessibleChange::TableShape:
    case AccessibleChange::WindowState: RaiseUiaStructure(state.window); break;
  }
}

}  // namespace

void TellAccessibility(Win32State& state, const platform::AccessibleEvent& event) {
  if (!state.window || !state.form) return;
  const mainwindow::AccessibleView& view = state.form->Accessible;
  if (view.Editing() != state.editorTold) {
    state.editorTold = view.Editing();
    Notify(state, state.editorTold ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, EditorEventId());
  }
  FollowCaret(state);
  TellWinEvents(state, event);
  TellUia(state, event);
}

void PressAccessibleButton(Win32State& state, int id) {
  if (state.form) state.form->Accessible.PressButton(id);
}

void HideSystemCaret(Win32State& state) {
  if (state.caretHeight == 0) return;
  DestroyCaret();
  state.caretHeight = 0;
}

void EndAccessibility(Win32State& state) {
  HideSystemCaret(state);
  if (state.uiaAsked) EndUia(state.window);
}

}  // namespace tasklane::win32
