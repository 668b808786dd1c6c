#include "ui/LineEditor.h"

#include <algorithm>
#include <cstdlib>

namespace tasklane::ui {
namespace {

// Without a measure from the owner every code unit is 7 pixels wide: close enough to the
// grid's 11-pixel Tahoma for a sketch, and the same on every machine, so tests can count.
// Paint, which has a canvas, asks the canvas instead; so an owner with a real font sets a
// measure, or caret, clicks and scrolling would count other widths than the ones painted.
constexpr int fallbackUnitWidth = 7;
// The text stands this far inside the box, as in the grid's own cells.
constexpr int margin = 2;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Words are separated by white space only: punctuation belongs to the word it stands in, so
// "2024-05-01", "e-mail" or a web address is one word for Ctrl+arrows and a double click,
// which is what one wants in a to-do line. Surrogate halves are never space, so a word
// boundary never falls inside a pair.
bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) ||
         c == 0x202F || c == 0x205F || c == 0x3000;
}

}  // namespace

LineEditor::LineEditor(platform::Clipboard& clipboard) : clipboard_(clipboard) {}

// Opening is not an edit: the owner already has this text, so OnChange stays silent. The
// view starts at the left, then moves just far enough to show the caret (which stands at
// the end, where one goes on typing).
void LineEditor::Open(std::u16string_view text, const platform::Rect& bounds, bool selectAll) {
  text_ = text;
  bounds_ = bounds;
  open_ = true;
  caret_ = Length();
  anchor_ = selectAll ? 0 : caret_;
  mouseSelecting_ = false;
  caretShown_ = true;
  scroll_ = 0;
  composition_.clear();
  undo_.clear();
  redo_.clear();
  lastEdit_ = Edit::Whole;
  KeepCaretVisible();
}

void LineEditor::Move(const platform::Rect& bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  if (!bounds_.IsEmpty()) KeepCaretVisible();
}

void LineEditor::Close() {
  open_ = false;
  composition_.clear();
  mouseSelecting_ = false;
}

int LineEditor::SelectionStart() const { return std::min(anchor_, caret_); }
int LineEditor::SelectionLength() const { return std::abs(caret_ - anchor_); }

std::u16string LineEditor::SelectedText() const {
  return text_.substr(static_cast<std::size_t>(SelectionStart()), static_cast<std::size_t>(SelectionLength()));
}

void LineEditor::SelectAll() {
  anchor_ = 0;
  MoveCaret(Length(), true);
}

void LineEditor::ClearSelection() { anchor_ = caret_; }

void LineEditor::Select(int anchor, int caret) {
  anchor_ = std::clamp(anchor, 0, Length());
  MoveCaret(caret, true);
}

// A closed editor uses nothing: keys, characters and clicks belong to the grid again.
bool LineEditor::KeyDown(int key, platform::ShiftState shift) {
  if (!open_) return false;
  caretShown_ = true;
  // Alt combinations (and AltGr, which arrives as Ctrl+Alt) are the menu's and the layout's.
  if (shift.alt) return false;
  const bool ctrl = shift.ctrl;
  const bool extend = shift.shift;
  switch (key) {
    case platform::keys::Left:
      if (ctrl) {
        MoveCaret(WordStartBefore(caret_), extend);
      } else if (!extend && SelectionLength() > 0) {
        MoveCaret(SelectionStart(), false);
      } else {
        MoveCaret(PreviousBoundary(caret_), extend);
      }
      return true;
    case platform::keys::Right:
      if (ctrl) {
        MoveCaret(NextWordStart(caret_), extend);
      } else if (!extend && SelectionLength() > 0) {
        MoveCaret(SelectionStart() + SelectionLength(), false);
      } else {
        MoveCaret(NextBoundary(caret_), extend);
      }
      return true;
    case platform::keys::Home:
      MoveCaret(0, extend);
      return true;
    case platform::keys::End:
      MoveCaret(Length(), extend);
      return true;
    case platform::keys::Back:
      if (SelectionLength() > 0) {
        ReplaceSelection({});
      } else {
        const int from = ctrl ? WordStartBefore(caret_) : PreviousBoundary(caret_);
        Replace(from, caret_ - from, {}, Edit::Erasing);
      }
      return true;
    case platform::keys::Delete:
      if (extend && !ctrl) {
        Cut();
      } else if (SelectionLength() > 0) {
        ReplaceSelection({});
      } else {
        const int to = ctrl ? NextWordStart(caret_) : NextBoundary(caret_);
        Replace(caret_, to - caret_, {}, Edit::Erasing);
      }
      return true;
    case platform::keys::Insert:
      // Without a modifier Insert would toggle overwrite mode, which this editor has not.
      if (ctrl && !extend) {
        Copy();
      } else if (extend && !ctrl) {
        Paste();
      } else {
        return false;
      }
      return true;
    default:
      break;
  }
  if (!ctrl) return false;
  switch (key) {
    case 'A':
      SelectAll();
      return true;
    case 'C':
      Copy();
      return true;
    case 'X':
      Cut();
      return true;
    case 'V':
      Paste();
      return true;
    default:
      return false;
  }
}

// A high surrogate comes alone and leaves the caret between the halves for a moment; its
// low half follows at once and completes the pair.
void LineEditor::Char(char16_t c) {
  if (!open_) return;
  caretShown_ = true;
  if (c < 32 || c == 127) return;
  Replace(SelectionStart(), SelectionLength(), std::u16string_view(&c, 1), Edit::Typing);
}

void LineEditor::MouseDown(platform::Point point, platform::ShiftState shift) {
  if (!open_) return;
  caretShown_ = true;
  mouseSelecting_ = true;
  MoveCaret(BoundaryAt(point.x), shift.shift);
}

void LineEditor::MouseMove(platform::Point point) {
  if (!open_ || !mouseSelecting_) return;
  MoveCaret(BoundaryAt(point.x), true);
}

void LineEditor::MouseUp() { mouseSelecting_ = false; }

// Selects the run the character under the point belongs to: a word, or the spaces between
// two words. Left of the text that is the first character, right of it the last.
void LineEditor::DoubleClick(platform::Point point) {
  if (!open_) return;
  caretShown_ = true;
  mouseSelecting_ = false;
  if (text_.empty()) return;
  const int x = point.x - TextLeft();
  int index = 0;
  for (int next = NextBoundary(0); next < Length() && Width(0, next) <= x; next = NextBoundary(next)) {
    index = next;
  }
  const bool space = IsSpace(At(index));
  int start = index;
  while (start > 0 && IsSpace(At(start - 1)) == space) --start;
  int end = index;
  while (end < Length() && IsSpace(At(end)) == space) ++end;
  anchor_ = start;
  MoveCaret(end, true);
}

void LineEditor::Paint(platform::Canvas& canvas, const platform::Font& font, platform::Color textColor,
                       platform::Color background, platform::Color selectionBackground,
                       platform::Color selectionText) {
  if (!open_ || bounds_.IsEmpty()) return;
  auto width = [&](int from, int to) {
    const std::u16string_view part = std::u16string_view(text_).substr(
        static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    return measure_ ? measure_(part) : canvas.TextWidth(part, font);
  };
  platform::TextFormat format;
  format.align = platform::TextAlign::Left;
  format.verticalCenter = true;
  format.singleLine = true;
  format.showMnemonics = false;  // a task's "&" is an ampersand, not an accelerator

  canvas.FillRect(bounds_, background);
  canvas.PushClip(bounds_);
  if (!composition_.empty()) {
    PaintComposition(canvas, font, textColor, selectionBackground, selectionText, format);
    canvas.PopClip();
    return;
  }
  const int left = TextLeft();
  // The text's own rectangle reaches past the box, so only the clip cuts it, never Text.
  const int textWidth = width(0, Length());
  canvas.Text({left, bounds_.top, left + textWidth + bounds_.Width(), bounds_.bottom}, text_, font, textColor,
              format);
  if (SelectionLength() > 0) {
    // The whole text first, then the selection over it: the unselected parts keep the
    // shaping of the whole line.
    const int start = SelectionStart();
    const int end = start + SelectionLength();
    const platform::Rect selection{left + width(0, start), bounds_.top, left + width(0, end), bounds_.bottom};
    canvas.FillRect(selection, selectionBackground);
    canvas.Text(selection, SelectedText(), font, selectionText, format);
  } else if (caretShown_) {
    const int x = left + width(0, caret_);
    canvas.Line({x, bounds_.top + 1}, {x, bounds_.bottom - 1}, textColor);
  }
  canvas.PopClip();
}

// The composition stands in the selection's place, underlined, with the input method's caret.
void LineEditor::PaintComposition(platform::Canvas& canvas, const platform::Font& font, platform::Color textColor,
                                  platform::Color selectionBackground, platform::Color selectionText,
                                  const platform::TextFormat& format) {
  const std::size_t start = static_cast<std::size_t>(SelectionStart());
  const std::u16string shown =
      text_.substr(0, start) + composition_ + text_.substr(start + static_cast<std::size_t>(SelectionLength()));
  auto width = [&](std::u16string_view part) { return measure_ ? measure_(part) : canvas.TextWidth(part, font); };
  const int left = TextLeft();
  canvas.Text({left, bounds_.top, left + width(shown) + bounds_.Width(), bounds_.bottom}, shown, font, textColor,
              format);
  const int from = left + width(std::u16string_view(shown).substr(0, start));
  const int underline = bounds_.bottom - 3;
  const std::u16string_view composed = composition_;
  for (const CompositionStyle& style : compositionStyles_) {
    const std::u16string_view part =
        composed.substr(static_cast<std::size_t>(style.start), static_cast<std::size_t>(style.length));
    const int x = from + width(composed.substr(0, static_cast<std::size_t>(style.start)));
    const int right = x + width(part);
    if (style.highlight) {
      const platform::Rect clause{x, bounds_.top, right, bounds_.bottom};
      canvas.FillRect(clause, selectionBackground);
      canvas.Text(clause, part, font, selectionText, format);
    }
    if (style.underline) canvas.Line({x, underline}, {right, underline}, style.highlight ? selectionText : textColor);
  }
  if (caretShown_) {
    const int x = from + width(std::u16string_view(composition_).substr(0, static_cast<std::size_t>(compositionCursor_)));
    canvas.Line({x, bounds_.top + 1}, {x, bounds_.bottom - 1}, textColor);
  }
}

void LineEditor::SetComposition(std::u16string_view text, int cursor, std::vector<CompositionStyle> styles) {
  if (!open_) return;
  composition_ = text;
  const int length = static_cast<int>(composition_.size());
  compositionCursor_ = std::clamp(cursor, 0, length);
  // Held to the composition: an input method's ranges are not ours to trust.
  for (CompositionStyle& style : styles) {
    style.start = std::clamp(style.start, 0, length);
    style.length = std::clamp(style.length, 0, length - style.start);
  }
  std::erase_if(styles, [](const CompositionStyle& style) { return style.length == 0; });
  if (styles.empty() && length > 0) styles.push_back({0, length, true, false});
  compositionStyles_ = std::move(styles);
  caretShown_ = true;
}

void LineEditor::ReplaceAroundCaret(int start, int length, std::u16string_view text) {
  if (!open_) return;
  const int from = std::clamp(caret_ + start, 0, Length());
  Replace(from, std::clamp(length, 0, Length() - from), text);
}

platform::Rect LineEditor::CaretRect() const {
  int x = TextLeft() + Width(0, composition_.empty() ? caret_ : SelectionStart());
  if (!composition_.empty()) {
    x += Measure(std::u16string_view(composition_).substr(0, static_cast<std::size_t>(compositionCursor_)));
  }
  return {x, bounds_.top + 1, x + 1, bounds_.bottom - 1};
}

platform::Rect LineEditor::CharacterRect(int index) const {
  const int at = std::clamp(index, 0, Length());
  const int x = TextLeft() + Width(0, at);
  return {x, bounds_.top + 1, x + Width(at, std::min(at + 1, Length())), bounds_.bottom - 1};
}

int LineEditor::Length() const { return static_cast<int>(text_.size()); }

char16_t LineEditor::At(int index) const { return text_[static_cast<std::size_t>(index)]; }

int LineEditor::TextLeft() const { return bounds_.left + margin - scroll_; }

int LineEditor::Width(int from, int to) const {
  return Measure(
      std::u16string_view(text_).substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)));
}

int LineEditor::Measure(std::u16string_view text) const {
  return measure_ ? measure_(text) : fallbackUnitWidth * static_cast<int>(text.size());
}

// A pair of surrogates is one character: the caret steps over it whole. A lone half is a
// character of its own.
int LineEditor::PreviousBoundary(int position) const {
  if (position <= 0) return 0;
  if (position >= 2 && IsLowSurrogate(At(position - 1)) && IsHighSurrogate(At(position - 2))) {
    return position - 2;
  }
  return position - 1;
}

int LineEditor::NextBoundary(int position) const {
  if (position >= Length()) return Length();
  if (position + 1 < Length() && IsHighSurrogate(At(position)) && IsLowSurrogate(At(position + 1))) {
    return position + 2;
  }
  return position + 1;
}

// Ctrl+Right: over the rest of this word, then over the spaces after it.
int LineEditor::NextWordStart(int position) const {
  while (position < Length() && !IsSpace(At(position))) ++position;
  while (position < Length() && IsSpace(At(position))) ++position;
  return position;
}

// Ctrl+Left: back over spaces, then to the start of the word before them.
int LineEditor::WordStartBefore(int position) const {
  while (position > 0 && IsSpace(At(position - 1))) --position;
  while (position > 0 && !IsSpace(At(position - 1))) --position;
  return position;
}

// The character boundary nearest to `x`; between two equally near ones the left wins.
int LineEditor::BoundaryAt(int x) const {
  const int local = x - TextLeft();
  int best = 0;
  int bestDistance = std::abs(local);
  for (int position = 0; position < Length();) {
    position = NextBoundary(position);
    const int distance = std::abs(local - Width(0, position));
    if (distance > bestDistance) break;  // widths only grow: from here on it gets farther
    if (distance < bestDistance) {
      bestDistance = distance;
      best = position;
    }
  }
  return best;
}

void LineEditor::MoveCaret(int position, bool extend) {
  caret_ = std::clamp(position, 0, Length());
  if (!extend) anchor_ = caret_;
  KeepCaretVisible();
}

// Scrolls no further than needed to show the caret inside the margins, and never leaves
// blank room on the right while text is hidden on the left (after a deletion, say).
void LineEditor::KeepCaretVisible() {
  const int room = std::max(0, bounds_.Width() - 2 * margin);
  const int caretX = Width(0, caret_);
  if (caretX - scroll_ > room) scroll_ = caretX - room;
  if (caretX < scroll_) scroll_ = caretX;
  scroll_ = std::max(0, std::min(scroll_, Width(0, Length()) - room));
}

void LineEditor::Replace(int start, int length, std::u16string_view insert, Edit kind) {
  if (length == 0 && insert.empty()) return;
  StartStep(kind);
  text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length), insert);
  anchor_ = start + static_cast<int>(insert.size());
  MoveCaret(anchor_, false);
  runCaret_ = caret_;
  if (onChange_) onChange_(text_);
}

// A run goes on while the caret stands where the last edit of the same kind left it, with
// nothing selected; anything else begins a step, and a new step ends the steps to redo.
void LineEditor::StartStep(Edit kind) {
  constexpr std::size_t maxSteps = 1000;
  const bool run = kind != Edit::Whole && kind == lastEdit_ && caret_ == anchor_ && caret_ == runCaret_;
  if (!run) {
    if (undo_.size() == maxSteps) undo_.erase(undo_.begin());
    undo_.push_back({text_, caret_, anchor_});
  }
  redo_.clear();
  lastEdit_ = kind;
}

bool LineEditor::Undo() {
  if (!open_ || undo_.empty()) return false;
  Restore(undo_, redo_);
  return true;
}

bool LineEditor::Redo() {
  if (!open_ || redo_.empty()) return false;
  Restore(redo_, undo_);
  return true;
}

void LineEditor::Restore(std::vector<Snapshot>& from, std::vector<Snapshot>& to) {
  to.push_back({text_, caret_, anchor_});
  Snapshot snapshot = std::move(from.back());
  from.pop_back();
  text_ = std::move(snapshot.text);
  anchor_ = snapshot.anchor;
  MoveCaret(snapshot.caret, true);
  lastEdit_ = Edit::Whole;
  caretShown_ = true;
  if (onChange_) onChange_(text_);
}

void LineEditor::ReplaceSelection(std::u16string_view insert) { Replace(SelectionStart(), SelectionLength(), insert); }

// Nothing selected: the clipboard keeps what it has.
void LineEditor::Copy() {
  if (SelectionLength() > 0) clipboard_.SetText(SelectedText());
}

void LineEditor::Cut() {
  if (SelectionLength() == 0) return;
  Copy();
  ReplaceSelection({});
}

// An empty clipboard (or one without text) pastes nothing and keeps the selection, as the
// system's edit boxes do.
void LineEditor::Paste() {
  const std::u16string pasted = clipboard_.Text();
  if (!pasted.empty()) ReplaceSelection(pasted);
}

}  // namespace tasklane::ui
