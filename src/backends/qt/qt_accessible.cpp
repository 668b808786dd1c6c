// Screen readers on Linux: the window, its editor and its buttons as Qt's accessibility
// interfaces, the factory that gives Qt the window's, and the core's changes as Qt's events.
//
//  [x] the window: named, folded or not, its parts in reading order, the focus
//  [x] the editor: its text, caret and selection, editable by a screen reader
//  [x] the buttons, named by their hints, pressed by their action
//  [x] events: focus, texts inserted and removed, caret, selection, table reset, folding
#include "backends/qt/qt_accessible.h"

#include "backends/qt/qt_accessible_dialog.h"
#include "backends/qt/qt_accessible_parts.h"
#include "backends/qt/qt_text.h"
#include "backends/qt/qt_window.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::qt {

using mainwindow::AccessibleView;
using platform::AccessibleChange;

namespace {

QAccessibleInterface* Factory(const QString& /*className*/, QObject* object) {
  if (auto* window = dynamic_cast<QtWindow*>(object)) return new WindowAccess(*window);
  return DialogAccessFor(object);
}

}  // namespace

void InstallAccessibility() {
  static const bool installed = (QAccessible::installFactory(&Factory), true);
  (void)installed;
}

// --- What the parts share ---

bool PartAccess::isValid() const { return window_.isValid(); }

QWindow* PartAccess::window() const { return window_.window(); }

AccessibleView& PartAccess::View() const { return window_.View(); }

QRect PartAccess::OnScreen(const platform::Rect& rect) const { return window_.OnScreen(rect); }

// --- The editor ---

void* EditorAccess::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
  return nullptr;
}

QAccessibleInterface* EditorAccess::parent() const { return const_cast<WindowAccess*>(&window_); }

// Named by its column, as a label names an edit box.
QString EditorAccess::text(QAccessible::Text t) const {
  if (t == QAccessible::Name) return QtString(View().CellText(View().CurrentCol(), 0));
  if (t == QAccessible::Value) return Whole();
  return {};
}

QRect EditorAccess::rect() const { return View().Editing() ? OnScreen(View().EditorBounds()) : QRect(); }

QAccessible::State EditorAccess::state() const {
  QAccessible::State s;
  s.editable = true;
  s.focusable = true;
  s.selectableText = true;
  s.invisible = !View().Editing();
  s.focused = View().Editing() && View().TableFocused();
  return s;
}

QString EditorAccess::Whole() const { return View().Editing() ? QtString(View().EditorText()) : QString(); }

int EditorAccess::Caret() const { return View().Editing() ? View().EditorCaret() : 0; }

int EditorAccess::Anchor() const { return View().Editing() ? View().EditorAnchor() : 0; }

void EditorAccess::insertText(int offset, const QString& text) {
  View().ReplaceEditorText(offset, offset, CoreString(text));
}

void EditorAccess::replaceText(int startOffset, int endOffset, const QString& text) {
  View().ReplaceEditorText(startOffset, endOffset, CoreString(text));
}

// --- The buttons ---

const AccessibleView::Button* ButtonAccess::Shown() const {
  for (const AccessibleView::Button& button : View().Buttons()) {
    if (button.id == id_) return &(shown_ = button);
  }
  return nullptr;
}

bool ButtonAccess::isValid() const { return PartAccess::isValid() && Shown(); }

void* ButtonAccess::interface_cast(QAccessible::InterfaceType type) {
  return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QAccessibleInterface* ButtonAccess::parent() const { return const_cast<WindowAccess*>(&window_); }

QString ButtonAccess::text(QAccessible::Text t) const {
  const AccessibleView::Button* button = Shown();
  return t == QAccessible::Name && button ? QtString(button->name) : QString();
}

QRect ButtonAccess::rect() const {
  const AccessibleView::Button* button = Shown();
  return button ? OnScreen(button->bounds) : QRect();
}

void ButtonAccess::doAction(const QString& name) {
  if (name == pressAction()) View().PressButton(id_);
}

// --- The window ---

WindowAccess::WindowAccess(QtWindow& window) : QAccessibleWidget(&window, QAccessible::Window) {
  table_ = QAccessible::registerAccessibleInterface(new TableAccess(*this));
  editor_ = QAccessible::registerAccessibleInterface(new EditorAccess(*this));
  for (int id = 0; id < AccessibleView::buttonCount; ++id) {
    buttons_[id] = QAccessible::registerAccessibleInterface(new ButtonAccess(*this, id));
  }
}

// NOTE: Qt's cache may have removed the parts already when the program ends; removing an id
// twice does nothing.
WindowAccess::~WindowAccess() {
  QAccessible::deleteAccessibleInterface(table_);
  QAccessible::deleteAccessibleInterface(editor_);
  for (QAccessible::Id id : buttons_) QAccessible::deleteAccessibleInterface(id);
}

bool WindowAccess::isValid() const {
  return QAccessibleWidget::isValid() && static_cast<QtWindow*>(widget())->Form() != nullptr;
}

AccessibleView& WindowAccess::View() const { return static_cast<QtWindow*>(widget())->Form()->Accessible; }

QRect WindowAccess::OnScreen(const platform::Rect& rect) const {
  if (rect.Width() < 0 || rect.Height() <= 0) return {};
  return {widget()->mapToGlobal(QPoint(rect.left, rect.top)), QSize(rect.Width(), rect.Height())};
}

QPoint WindowAccess::InWindow(QPoint screen) const { return widget()->mapFromGlobal(screen); }

// Reading order: the table, its editor, then the buttons a user can see.
std::vector<QAccessibleInterface*> WindowAccess::Children() const {
  std::vector<QAccessibleInterface*> children;
  if (!isValid()) return children;
  if (View().TableShown()) {
    children.push_back(&Table());
    children.push_back(&Editor());
  }
  for (const AccessibleView::Button& button : View().Buttons()) {
    children.push_back(QAccessible::accessibleInterface(buttons_[button.id]));
  }
  return children;
}

QAccessibleInterface* WindowAccess::child(int index) const {
  const std::vector<QAccessibleInterface*> children = Children();
  return index >= 0 && index < static_cast<int>(children.size()) ? children[index] : nullptr;
}

int WindowAccess::childCount() const { return static_cast<int>(Children().size()); }

int WindowAccess::indexOfChild(const QAccessibleInterface* child) const {
  const std::vector<QAccessibleInterface*> children = Children();
  for (std::size_t i = 0; i < children.size(); ++i) {
    if (children[i] == child) return static_cast<int>(i);
  }
  return -1;
}

// The buttons lie over the table, and the editor over its cell.
QAccessibleInterface* WindowAccess::childAt(int x, int y) const {
  const std::vector<QAccessibleInterface*> children = Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if ((*it)->rect().contains(x, y)) return *it;
  }
  return nullptr;
}

QAccessibleInterface* WindowAccess::focusChild() const {
  if (!isValid() || !View().TableFocused()) return nullptr;
  if (View().Editing()) return &Editor();
  return Table().Cell(View().CurrentCol(), View().CurrentRow());
}

QString WindowAccess::text(QAccessible::Text t) const {
  if (!isValid()) return QAccessibleWidget::text(t);
  if (t == QAccessible::Name) return QtString(View().WindowName());
  if (t == QAccessible::Description) return QtString(View().WindowDescription());
  return {};
}

QAccessible::State WindowAccess::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  if (!isValid()) return s;
  s.expandable = true;
  s.expanded = !View().Folded();
  s.collapsed = View().Folded();
  return s;
}

void WindowAccess::Send(QAccessibleInterface* part, QAccessible::Event type) {
  if (!part) return;
  QAccessibleEvent event(part, type);
  QAccessible::updateAccessibility(&event);
}

void WindowAccess::Tell(const platform::AccessibleEvent& e) {
  if (!isValid()) return;
  const bool editorShown = View().Editing();
  if (editorShown != editorShown_) {
    editorShown_ = editorShown;
    Send(&Editor(), editorShown ? QAccessible::ObjectShow : QAccessible::ObjectHide);
  }
  switch (e.change) {
    case AccessibleChange::CellFocus:
      Send(Table().Cell(e.col, e.row), QAccessible::Focus);
      break;
    case AccessibleChange::EditorFocus:
      Send(&Editor(), QAccessible::Focus);
      break;
    case AccessibleChange::CellText:
      if (QAccessibleInterface* cell = Table().KnownCell(e.col, e.row)) Send(cell, QAccessible::NameChanged);
      break;
    case AccessibleChange::EditorText:
      if (!e.removed.empty()) {
        QAccessibleTextRemoveEvent removed(&Editor(), e.position, QtString(e.removed));
        QAccessible::updateAccessibility(&removed);
      }
      if (!e.inserted.empty()) {
        QAccessibleTextInsertEvent inserted(&Editor(), e.position, QtString(e.inserted));
        QAccessible::updateAccessibility(&inserted);
      }
      break;
    case AccessibleChange::Caret: {
      QAccessibleTextCursorEvent caret(&Editor(), View().EditorCaret());
      QAccessible::updateAccessibility(&caret);
      QAccessibleTextSelectionEvent selection(&Editor(), std::min(View().EditorCaret(), View().EditorAnchor()),
                                              std::max(View().EditorCaret(), View().EditorAnchor()));
      QAccessible::updateAccessibility(&selection);
      break;
    }
    case AccessibleChange::TableShape: {
      Table().DropCells();
      QAccessibleTableModelChangeEvent reset(&Table(), QAccessibleTableModelChangeEvent::ModelReset);
      QAccessible::updateAccessibility(&reset);
      break;
    }
    case AccessibleChange::WindowState: {
      QAccessible::State changed;
      changed.expanded = true;
      changed.collapsed = true;
      QAccessibleStateChangeEvent folded(this, changed);
      QAccessible::updateAccessibility(&folded);
      Send(&Table(), View().TableShown() ? QAccessible::ObjectShow : QAccessible::ObjectHide);
      Send(this, QAccessible::ObjectReorder);
      break;
    }
  }
}

void TellAccessibility(QtWindow& window, const platform::AccessibleEvent& event) {
  if (!QAccessible::isActive()) return;
  if (auto* access = dynamic_cast<WindowAccess*>(QAccessible::queryAccessibleInterface(&window))) access->Tell(event);
}

}  // namespace tasklane::qt
