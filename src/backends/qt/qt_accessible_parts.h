// The interfaces Qt's bridge reads the main window through: the window, its table and the
// table's cells, the editor and the frame's buttons. Only the window is a widget's; the
// others are registered with Qt's cache by the window, which removes them again.
#pragma once

#include <map>
#include <utility>

#include <QAccessibleWidget>

#include "backends/qt/qt_accessible_text.h"
#include "mainwindow/AccessibleView.h"
#include "platform/Accessible.h"

namespace tasklane::qt {

class QtWindow;
class WindowAccess;

// What the parts that are no widget of their own have in common: the window they are in.
class PartAccess : public QAccessibleInterface {
 public:
  explicit PartAccess(WindowAccess& window) : window_(window) {}
  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  void setText(QAccessible::Text, const QString&) override {}
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }

 protected:
  mainwindow::AccessibleView& View() const;
  QRect OnScreen(const platform::Rect& rect) const;
  WindowAccess& window_;
};

class CellAccess;

class TableAccess : public PartAccess, public QAccessibleTableInterface {
 public:
  using PartAccess::PartAccess;
  ~TableAccess() override { DropCells(); }
  // The interface of a grid cell (row 0: a column title), made on the first look.
  QAccessibleInterface* Cell(int col, int row) const;
  // Only a cell a screen reader has looked at is told of.
  QAccessibleInterface* KnownCell(int col, int row) const;
  void DropCells();

  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* child(int index) const override;
  int childCount() const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QString text(QAccessible::Text) const override { return {}; }
  QRect rect() const override { return OnScreen(View().TableBounds()); }
  QAccessible::Role role() const override { return QAccessible::Table; }
  QAccessible::State state() const override;

  // The table's rows are the task rows; the column titles are its column headers.
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  int selectedCellCount() const override;
  QList<QAccessibleInterface*> selectedCells() const override;
  QString columnDescription(int column) const override;
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return View().ColumnCount(); }
  int rowCount() const override { return View().RowCount() - 1; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;  // by (row, col)
};

class CellAccess : public PartAccess,
                   public QAccessibleTableCellInterface,
                   public LineText,
                   public QAccessibleActionInterface {
 public:
  CellAccess(WindowAccess& window, TableAccess& table, int col, int row)
      : PartAccess(window), table_(table), col_(col), row_(row) {}
  int Col() const { return col_; }
  int Row() const { return row_; }

  bool isValid() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessibleInterface* parent() const override { return &table_; }
  using LineText::text;
  QString text(QAccessible::Text t) const override;
  QRect rect() const override { return OnScreen(View().CellBounds(col_, row_)); }
  QAccessible::Role role() const override { return row_ == 0 ? QAccessible::ColumnHeader : QAccessible::Cell; }
  QAccessible::State state() const override;

  bool isSelected() const override;
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return col_; }
  int rowIndex() const override { return row_ - 1; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return &table_; }

  QString Whole() const override;
  QRect CharacterPlace(int) const override { return rect(); }
  QString Attributes() const override;

  QStringList actionNames() const override { return {setFocusAction()}; }
  void doAction(const QString& name) override;
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  TableAccess& table_;
  int col_, row_;
};

class EditorAccess : public PartAccess, public LineText, public QAccessibleEditableTextInterface {
 public:
  using PartAccess::PartAccess;
  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessibleInterface* parent() const override;
  using LineText::text;
  QString text(QAccessible::Text t) const override;
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::EditableText; }
  QAccessible::State state() const override;

  QString Whole() const override;
  int Caret() const override;
  int Anchor() const override;
  void Select(int anchor, int caret) override { View().SetEditorSelection(anchor, caret); }
  QRect CharacterPlace(int offset) const override { return OnScreen(View().EditorCharacterBounds(offset)); }

  void deleteText(int startOffset, int endOffset) override { View().ReplaceEditorText(startOffset, endOffset, {}); }
  void insertText(int offset, const QString& text) override;
  void replaceText(int startOffset, int endOffset, const QString& text) override;
};

class ButtonAccess : public PartAccess, public QAccessibleActionInterface {
 public:
  ButtonAccess(WindowAccess& window, int id) : PartAccess(window), id_(id) {}
  int Id() const { return id_; }
  bool isValid() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessibleInterface* parent() const override;
  QString text(QAccessible::Text t) const override;
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::Button; }
  QAccessible::State state() const override { return {}; }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override;
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  const mainwindow::AccessibleView::Button* Shown() const;
  mutable mainwindow::AccessibleView::Button shown_;
  int id_;
};

class WindowAccess : public QAccessibleWidget {
 public:
  explicit WindowAccess(QtWindow& window);
  ~WindowAccess() override;
  bool isValid() const override;
  mainwindow::AccessibleView& View() const;
  TableAccess& Table() const { return Part<TableAccess>(table_); }
  EditorAccess& Editor() const { return Part<EditorAccess>(editor_); }
  QRect OnScreen(const platform::Rect& rect) const;
  QPoint InWindow(QPoint screen) const;
  void Tell(const platform::AccessibleEvent& event);

  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* child(int index) const override;
  int childCount() const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* focusChild() const override;
  QString text(QAccessible::Text t) const override;
  QAccessible::Role role() const override { return QAccessible::Window; }
  QAccessible::State state() const override;

 private:
  template <typename T>
  static T& Part(QAccessible::Id id) {
    return *static_cast<T*>(QAccessible::accessibleInterface(id));
  }
  std::vector<QAccessibleInterface*> Children() const;
  void Send(QAccessibleInterface* part, QAccessible::Event type);

  QAccessible::Id table_ = 0;
  QAccessible::Id editor_ = 0;
  QAccessible::Id buttons_[mainwindow::AccessibleView::buttonCount] = {};
  bool editorShown_ = false;  // as last told
};

}  // namespace tasklane::qt
