// Screen readers on Linux: the table and its cells, as Qt's table interfaces have them. The
// task rows are the table's rows; the column titles are its column headers.
#include "backends/qt/qt_accessible_parts.h"

#include "backends/qt/qt_text.h"

namespace tasklane::qt {

QAccessibleInterface* TableAccess::Cell(int col, int row) const {
  if (col < 0 || row < 0 || col >= View().ColumnCount() || row >= View().RowCount()) return nullptr;
  auto [it, made] = cells_.try_emplace({row, col}, 0);
  if (made) {
    auto* self = const_cast<TableAccess*>(this);
    it->second = QAccessible::registerAccessibleInterface(new CellAccess(window_, *self, col, row));
  }
  return QAccessible::accessibleInterface(it->second);
}

QAccessibleInterface* TableAccess::KnownCell(int col, int row) const {
  const auto it = cells_.find({row, col});
  return it == cells_.end() ? nullptr : QAccessible::accessibleInterface(it->second);
}

void TableAccess::DropCells() {
  for (const auto& [place, id] : cells_) QAccessible::deleteAccessibleInterface(id);
  cells_.clear();
}

void* TableAccess::interface_cast(QAccessible::InterfaceType type) {
  return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
}

QAccessibleInterface* TableAccess::parent() const { return const_cast<WindowAccess*>(&window_); }

// The column titles first, then the task rows, row by row.
QAccessibleInterface* TableAccess::child(int index) const {
  const int cols = View().ColumnCount();
  return index < 0 || cols == 0 ? nullptr : Cell(index % cols, index / cols);
}

int TableAccess::childCount() const { return View().ColumnCount() * View().RowCount(); }

int TableAccess::indexOfChild(const QAccessibleInterface* child) const {
  for (const auto& [place, id] : cells_) {
    if (QAccessible::accessibleInterface(id) == child) return place.first * View().ColumnCount() + place.second;
  }
  return -1;
}

QAccessibleInterface* TableAccess::childAt(int x, int y) const {
  const QPoint inWindow = window_.InWindow(QPoint(x, y));
  int col = 0, row = 0;
  return View().CellAt({inWindow.x(), inWindow.y()}, col, row) ? Cell(col, row) : nullptr;
}

QAccessible::State TableAccess::state() const {
  QAccessible::State s;
  s.focusable = true;
  return s;
}

QAccessibleInterface* TableAccess::cellAt(int row, int column) const { return Cell(column, row + 1); }

int TableAccess::selectedCellCount() const { return View().CurrentRow() > 0 ? 1 : 0; }

QList<QAccessibleInterface*> TableAccess::selectedCells() const {
  if (View().CurrentRow() <= 0) return {};
  return {Cell(View().CurrentCol(), View().CurrentRow())};
}

QString TableAccess::columnDescription(int column) const { return QtString(View().CellText(column, 0)); }

// --- Cells ---

// A cell of a column or row that went away is no longer there.
bool CellAccess::isValid() const {
  return PartAccess::isValid() && col_ < View().ColumnCount() && row_ < View().RowCount();
}

void* CellAccess::interface_cast(QAccessible::InterfaceType type) {
  switch (type) {
    case QAccessible::TableCellInterface:
      return row_ > 0 ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    case QAccessible::TextInterface: return static_cast<QAccessibleTextInterface*>(this);
    case QAccessible::ActionInterface: return static_cast<QAccessibleActionInterface*>(this);
    default: return nullptr;
  }
}

QString CellAccess::text(QAccessible::Text t) const { return t == QAccessible::Name ? Whole() : QString(); }

QAccessible::State CellAccess::state() const {
  QAccessible::State s;
  if (!isValid()) return s;
  const bool current = isSelected();
  s.focusable = true;
  s.selectable = true;
  s.selected = current;
  s.focused = current && View().TableFocused() && !View().Editing();
  s.offscreen = rect().isEmpty();
  return s;
}

bool CellAccess::isSelected() const { return col_ == View().CurrentCol() && row_ == View().CurrentRow(); }

QList<QAccessibleInterface*> CellAccess::columnHeaderCells() const {
  if (QAccessibleInterface* title = table_.Cell(col_, 0)) return {title};
  return {};
}

QString CellAccess::Whole() const { return isValid() ? QtString(View().CellText(col_, row_)) : QString(); }

// The column's alignment, by the name Qt's bridge turns into the screen readers' justification.
QString CellAccess::Attributes() const {
  switch (View().ColumnAlignment(col_)) {
    case 1: return QStringLiteral("text-align:center;");
    case 2: return QStringLiteral("text-align:right;");
    default: return QStringLiteral("text-align:left;");
  }
}

void CellAccess::doAction(const QString& name) {
  if (name == setFocusAction()) View().SelectCell(col_, row_);
}

}  // namespace tasklane::qt
