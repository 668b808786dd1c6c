// The text interface's segments, selections and places over one line of text.
#include "backends/qt/qt_accessible_text.h"

#include <algorithm>

#include <QTextBoundaryFinder>

namespace tasklane::qt {

void LineText::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
  if (selectionIndex != 0 || selectionCount() == 0) return;
  *startOffset = std::min(Caret(), Anchor());
  *endOffset = std::max(Caret(), Anchor());
}

int LineText::selectionCount() const { return Caret() >= 0 && Caret() != Anchor() ? 1 : 0; }

void LineText::removeSelection(int selectionIndex) {
  if (selectionIndex == 0) Select(Caret(), Caret());
}

void LineText::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex == 0) Select(startOffset, endOffset);
}

QString LineText::text(int startOffset, int endOffset) const {
  const QString whole = Whole();
  if (endOffset < 0 || endOffset > whole.size()) endOffset = static_cast<int>(whole.size());
  startOffset = std::clamp(startOffset, 0, endOffset);
  return whole.mid(startOffset, endOffset - startOffset);
}

void LineText::Segment(int offset, QAccessible::TextBoundaryType type, int& start, int& end) const {
  const QString whole = Whole();
  const int length = static_cast<int>(whole.size());
  offset = std::clamp(offset, 0, length);
  if (type == QAccessible::CharBoundary || type == QAccessible::WordBoundary) {
    QTextBoundaryFinder finder(type == QAccessible::CharBoundary ? QTextBoundaryFinder::Grapheme
                                                                  : QTextBoundaryFinder::Word,
                               whole);
    finder.setPosition(offset);
    start = finder.isAtBoundary() ? offset : static_cast<int>(finder.toPreviousBoundary());
    finder.setPosition(offset);
    end = static_cast<int>(finder.toNextBoundary());
    if (start < 0) start = 0;
    if (end < 0) end = length;
    return;
  }
  // One line is one sentence, paragraph and line.
  start = 0;
  end = length;
}

QString LineText::textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset, int* endOffset) const {
  Segment(offset, type, *startOffset, *endOffset);
  return text(*startOffset, *endOffset);
}

QString LineText::textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                                   int* endOffset) const {
  int start = 0, end = 0;
  Segment(offset, type, start, end);
  if (start == 0) {
    *startOffset = *endOffset = -1;
    return {};
  }
  return textAtOffset(start - 1, type, startOffset, endOffset);
}

QString LineText::textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                                  int* endOffset) const {
  int start = 0, end = 0;
  Segment(offset, type, start, end);
  if (end >= characterCount()) {
    *startOffset = *endOffset = -1;
    return {};
  }
  return textAtOffset(end, type, startOffset, endOffset);
}

int LineText::offsetAtPoint(const QPoint& point) const {
  for (int i = 0; i < characterCount(); ++i) {
    if (CharacterPlace(i).contains(point)) return i;
  }
  return -1;
}

QString LineText::attributes(int offset, int* startOffset, int* endOffset) const {
  *startOffset = 0;
  *endOffset = characterCount();
  if (offset < 0 || offset > characterCount()) *startOffset = *endOffset = -1;
  return Attributes();
}

}  // namespace tasklane::qt
