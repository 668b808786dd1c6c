// One line of text as Qt's text interface has it, over what a subclass reads from the core:
// the text, the caret and the selection, the characters' places. The cells and the editor
// share it.
#pragma once

#include <QAccessibleInterface>
#include <QRect>
#include <QString>

namespace tasklane::qt {

class LineText : public QAccessibleTextInterface {
 public:
  virtual QString Whole() const = 0;
  // A caret of -1: the text is only read.
  virtual int Caret() const { return -1; }
  virtual int Anchor() const { return Caret(); }
  virtual void Select(int /*anchor*/, int /*caret*/) {}
  virtual QRect CharacterPlace(int offset) const = 0;  // on the screen
  virtual QString Attributes() const { return {}; }

  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override { Select(startOffset, endOffset); }
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override { return Caret() < 0 ? 0 : Caret(); }
  void setCursorPosition(int position) override { Select(position, position); }
  QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                           int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                          int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                       int* endOffset) const override;
  int characterCount() const override { return static_cast<int>(Whole().size()); }
  QRect characterRect(int offset) const override { return CharacterPlace(offset); }
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

 private:
  // The segment of that kind around `offset`: [start, end).
  void Segment(int offset, QAccessible::TextBoundaryType type, int& start, int& end) const;
};

}  // namespace tasklane::qt
