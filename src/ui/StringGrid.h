// A table of text cells that the core draws and edits itself: counts, widths, lines, the
// selection with its one current cell, the in-place editor, keys, mouse and wheel, and the
// notifications its owner reacts to. Cells outside the counts are kept, so that texts come
// back when the counts grow again.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/Keys.h"
#include "ui/CellTexts.h"
#include "ui/Control.h"
#include "ui/LineEditor.h"

namespace tasklane::ui {

enum class ScrollBars { None, Horizontal, Vertical, Both };

// Columns and rows of the selection; a left of -1 means no current cell.
struct GridRect {
  int left = -1;
  int top = -1;
  int right = -1;
  int bottom = -1;
  friend bool operator==(const GridRect&, const GridRect&) = default;
};

// What the grid prepared for a cell before its owner draws it.
struct CellPreparation {
  platform::Color brush;      // the background the cell was filled with
  platform::Color fontColor;  // the colour texts take
  platform::Font font;
  bool selected = false;  // the current cell
  bool focused = false;   // the current cell while the grid has the focus of the active window
  bool fixed = false;
};

struct SystemColors {
  platform::Color windowText{0, 0, 0};
  platform::Color highlight{0, 120, 215};
  platform::Color highlightText{255, 255, 255};
};

class StringGrid : public Control {
 public:
  static constexpr int defaultColWidth = 64;
  static constexpr int defaultRowHeight = 24;
  static constexpr int scrollBarSize = 17;
  static constexpr platform::Color silver{192, 192, 192};

  StringGrid(std::u16string_view name, Control* owner, int colCount, int rowCount, platform::Clipboard& clipboard);

  // --- Data ---
  int ColCount() const { return colCount_; }
  int RowCount() const { return rowCount_; }
  // Fewer than one column or row yields one.
  void SetColCount(int count);
  void SetRowCount(int count);
  int FixedRows() const { return fixedRows_; }
  // Any change puts the current cell on (0, fixed rows) and scrolls to the top left.
  void SetFixedRows(int count);

  // Any column and row not below zero; beyond the counts the text is kept but not shown.
  // The view holds until the next change of a cell in that row.
  std::u16string_view Cell(int col, int row) const;
  // A row's cells, one for each column, at once: for going over a large table.
  void RowCells(int row, std::vector<std::u16string_view>& cells) const { cells_.RowCells(row, colCount_, cells); }
  void SetCell(int col, int row, std::u16string_view text);
  // The row's first cells.size() cells at once; the views may be the row's own cells.
  void SetRowCells(int row, std::span<const std::u16string_view> cells);

  // Columns at or beyond the count have no width: asking for one is an error.
  int ColWidth(int col) const;
  void SetColWidth(int col, int width);
  int DefaultRowHeight() const { return defaultRowHeight; }
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int width);
  ScrollBars ScrollBarSetting() const { return scrollBars_; }
  void SetScrollBars(ScrollBars bars);

  const GridRect& Selection() const { return selection_; }
  // Takes the rectangle as it is: no check against the counts and no notification. An open
  // editor closes when the current cell changes: its text is already in the cell it was
  // opened on, and what is typed next must not reach another one.
  void SetSelection(const GridRect& selection);
  int Col() const { return selection_.right; }
  int Row() const { return selection_.bottom; }
  bool EditorMode() const { return editor_.IsOpen(); }
  // Ends the editing; the cell already holds the editor's text.
  void CloseEditor();
  // Makes the cell current as the program does: asked, the editor closed, scrolled into view.
  void Select(int col, int row) { MoveTo(col, row, false); }
  LineEditor& Editor() { return editor_; }
  int TopRow() const { return topRow_; }
  // The first visible row or column as a scroll bar sets it.
  void ScrollView(bool vertical, int position) { ScrollTo(vertical, position); }
  int LeftCol() const { return leftCol_; }

  // --- Look ---
  platform::Color Color{245, 245, 255};
  platform::Color FixedColor{215, 228, 242};
  platform::Font Font{u"Tahoma", 17, false};
  SystemColors Colors;

  // --- Notifications, in the order the grid raises them ---
  std::function<void(platform::Canvas&, int col, int row, const platform::Rect&, const CellPreparation&)> OnDrawCell;
  std::function<void(int col, int row, bool& canSelect)> OnSelectCell;
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(platform::MouseButton, platform::ShiftState, platform::Point)> OnMouseDown;
  std::function<void(platform::MouseButton, platform::ShiftState, platform::Point)> OnMouseUp;
  std::function<void(bool down, platform::ShiftState, platform::Point, bool& handled)> OnMouseWheel;
  std::function<void(int& key, platform::ShiftState)> OnKeyDown;
  // Tab and Shift+Tab: the focus moves on to the next control.
  std::function<void(bool backwards)> OnTabOut;
  // What the table holds changed: a row's texts (its number), or the counts or a width (-1).
  std::function<void(int row)> OnDataChanged;
  // The editor began or stopped showing a caret: it is open in the focused grid, or no longer.
  std::function<void(bool caretShown)> OnCaretShown;
  // The editor opened over the current cell, or is about to close.
  std::function<void()> OnEditorOpened;
  std::function<void()> OnEditorClosing;

  // --- Input, in grid client coordinates ---
  void SetFocused(bool focused);
  bool Focused() const { return focused_; }
  void KeyDown(int key, platform::ShiftState shift);
  void Char(char16_t c);
  // An input method's composition at the caret: the first one opens the editor over the
  // current cell, as a typed character does; its commit arrives as typed characters.
  void Compose(std::u16string_view text, int cursor, std::vector<CompositionStyle> styles = {});
  // Where the caret stands (or the current cell, with the editor closed), in client coordinates.
  platform::Rect CaretRect() const;
  void MouseDown(platform::MouseButton button, platform::Point point, platform::ShiftState shift, bool doubleClick);
  void MouseMove(platform::Point point, platform::ShiftState shift);
  void MouseUp(platform::MouseButton button, platform::Point point, platform::ShiftState shift);
  void MouseWheel(bool down, platform::Point point, platform::ShiftState shift);

  // --- Geometry, in grid client coordinates ---
  void SetBounds(const platform::Rect& bounds) override;
  platform::Size ClientSize() const;
  // The rectangle of a cell as it stands now; empty when it is scrolled out of view.
  platform::Rect CellRect(int col, int row) const;
  // The cell under a point; false when the point is on no cell.
  bool CellAt(platform::Point point, int& col, int& row) const;
  int VisibleRowCount() const;  // non-fixed rows that fit whole
  int VisibleColCount() const;
  // The vertical scroll bar shows: the setting allows it and the rows do not fit.
  bool HasVerticalBar() const;

  // Paints the whole grid; `active`: the grid is the active control of the active window.
  void Paint(platform::Canvas& canvas, bool active);

 private:
  void CheckColumn(int col) const;
  void MoveTo(int col, int row, bool byUser);
  void ClampAndMove(int col, int row);
  void ScrollIntoView(int col, int row);
  void OpenEditor(bool selectAll);
  void CaretStateChanged();
  void DataChanged(int row) {
    if (OnDataChanged) OnDataChanged(row);
  }
  void PlaceEditor();
  void ViewChanged();  // the cells moved or changed size
  void KeepCurrentCellInside();
  void GridKey(int key, platform::ShiftState shift);
  bool EditorKey(int key, platform::ShiftState shift);
  int BorderAt(platform::Point point) const;  // the column whose right border is there, or -1
  void PaintCell(platform::Canvas& canvas, int col, int row, bool active);

  // Scroll bars, in grid client coordinates (they stand right of and below the cells).
  struct BarGeometry {
    platform::Rect area;
    int first = 0, last = 0, position = 0;  // the range of the first visible row or column
    int trackStart = 0, trackLength = 0, thumbStart = 0, thumbLength = 0;  // along the bar
  };
  int ExtentWidth() const;
  int ExtentHeight() const;
  void BarsShown(bool& vertical, bool& horizontal) const;
  bool HasHorizontalBar() const;
  BarGeometry Bar(bool vertical) const;
  void ScrollTo(bool vertical, int position);
  bool ScrollBarPress(platform::Point point);
  void ThumbDrag(platform::Point point);
  void PaintScrollBars(platform::Canvas& canvas);
  void PaintLines(platform::Canvas& canvas);

  int colCount_;
  int rowCount_;
  int fixedRows_ = 1;
  CellTexts cells_;
  std::vector<int> colWidths_;
  int gridLineWidth_ = 1;
  ScrollBars scrollBars_ = ScrollBars::Both;
  GridRect selection_{0, 1, 0, 1};
  int topRow_ = 1;
  int leftCol_ = 0;
  bool focused_ = false;
  bool caretShown_ = false;  // as last told to OnCaretShown
  int sizingCol_ = -1;  // the column whose border is being dragged
  int sizingOffset_ = 0;
  int thumbDrag_ = 0;  // 1 while the vertical thumb is dragged, 2 the horizontal one
  int thumbGrab_ = 0;
  LineEditor editor_;
};

}  // namespace tasklane::ui
