// The one-line editor the grid opens over its current cell: caret, selection with Shift and
// the mouse, words with Ctrl, its own clipboard keys, a blinking caret. Every change of the
// text is reported at once, so the owner can keep its cell in step.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/Keys.h"

namespace tasklane::ui {

// A part of an input method's composition as it marks it: underlined (what was typed) or
// highlighted (the clause it converts), in code units of the composition.
struct CompositionStyle {
  int start = 0;
  int length = 0;
  bool underline = true;
  bool highlight = false;
};

class LineEditor {
 public:
  explicit LineEditor(platform::Clipboard& clipboard);

  // Opens over `bounds` (in the owner's coordinates) with `text`; `selectAll` selects the
  // whole text with the caret at its end, otherwise the caret stands after the text and
  // nothing is selected.
  void Open(std::u16string_view text, const platform::Rect& bounds, bool selectAll);
  void Close();
  bool IsOpen() const { return open_; }
  // Follows its cell when the view scrolls; an empty box hides the editor, which stays open.
  void Move(const platform::Rect& bounds);
  const platform::Rect& Bounds() const { return bounds_; }

  const std::u16string& Text() const { return text_; }
  // Caret and selection in code units: the selection runs between the anchor and the caret.
  int Caret() const { return caret_; }
  int SelectionStart() const;
  int SelectionLength() const;
  std::u16string SelectedText() const;
  void SelectAll();
  void ClearSelection();  // keeps the caret where it is
  // Selects from `anchor` to `caret`, each held to the text.
  void Select(int anchor, int caret);
  // Puts `insert` in place of the selection, or at the caret.
  void ReplaceSelection(std::u16string_view insert);

  // Its own steps since it opened, as an edit box has them: a run of typing is one step, and
  // so is a run of single deletions; a paste, a cut, a deletion of a selection are one each.
  // False when there is no step to take back, or to do again.
  bool Undo();
  bool Redo();
  bool CanUndo() const { return !undo_.empty(); }

  // An input method's composition: shown at the caret, in the selection's place and styled as
  // the input method marks it (all of it underlined when it marks nothing), until it commits
  // it as typed text or gives it up (an empty one); `cursor` is its caret within it.
  void SetComposition(std::u16string_view text, int cursor, std::vector<CompositionStyle> styles = {});
  const std::u16string& Composition() const { return composition_; }
  const std::vector<CompositionStyle>& CompositionStyles() const { return compositionStyles_; }
  // The caret's line, within the composition while there is one, in the owner's coordinates.
  platform::Rect CaretRect() const;
  int Anchor() const { return anchor_; }
  // Where the character at `index` of the text stands, in the owner's coordinates.
  platform::Rect CharacterRect(int index) const;
  // An input method's commit that takes the place of text around the caret: `length` code
  // units from `start` after the caret (before it when negative).
  void ReplaceAroundCaret(int start, int length, std::u16string_view text);

  // A key the owner passes on; true when the editor used it. Handles Left, Right, Home, End
  // (with Shift to select, Ctrl for words), Backspace, Delete, Ctrl+A, Ctrl+C, Ctrl+X,
  // Ctrl+V.
  bool KeyDown(int key, platform::ShiftState shift);
  // A character the system composed; replaces the selection. Control characters are ignored.
  void Char(char16_t c);

  // Mouse in the owner's coordinates: a press places the caret (Shift extends the
  // selection), moving with the button held selects, a double click selects a word.
  void MouseDown(platform::Point point, platform::ShiftState shift);
  void MouseMove(platform::Point point);
  void MouseUp();
  void DoubleClick(platform::Point point);

  // Measures a text in the editor's font; the owner sets it (the platform knows the fonts).
  void SetMeasure(std::function<int(std::u16string_view)> measure) { measure_ = std::move(measure); }
  void OnChange(std::function<void(const std::u16string&)> handler) { onChange_ = std::move(handler); }

  // The caret blinks: the owner's timer calls this; any key or click shows the caret again.
  void BlinkCaret() { caretShown_ = !caretShown_; }
  bool CaretShown() const { return caretShown_; }

  void Paint(platform::Canvas& canvas, const platform::Font& font, platform::Color textColor,
             platform::Color background, platform::Color selectionBackground, platform::Color selectionText);

 private:
  // (the editor's own state; free to grow)
  platform::Clipboard& clipboard_;
  bool open_ = false;
  platform::Rect bounds_;
  std::u16string text_;
  int caret_ = 0;
  int anchor_ = 0;
  bool caretShown_ = true;
  bool mouseSelecting_ = false;
  int scroll_ = 0;  // pixels of text scrolled off to the left, so the caret stays in view
  std::function<int(std::u16string_view)> measure_;
  std::function<void(const std::u16string&)> onChange_;

  std::u16string composition_;
  int compositionCursor_ = 0;
  std::vector<CompositionStyle> compositionStyles_;

  enum class Edit { Typing, Erasing, Whole };
  struct Snapshot {
    std::u16string text;
    int caret = 0;
    int anchor = 0;
  };
  std::vector<Snapshot> undo_;
  std::vector<Snapshot> redo_;
  Edit lastEdit_ = Edit::Whole;
  int runCaret_ = -1;  // where the caret stood after the last edit: a run goes on from there

  int Length() const;
  char16_t At(int index) const;
  int TextLeft() const;  // where the text starts, in the owner's coordinates
  int Width(int from, int to) const;
  int Measure(std::u16string_view text) const;
  void PaintComposition(platform::Canvas& canvas, const platform::Font& font, platform::Color textColor,
                        platform::Color selectionBackground, platform::Color selectionText,
                        const platform::TextFormat& format);
  int PreviousBoundary(int position) const;
  int NextBoundary(int position) const;
  int NextWordStart(int position) const;
  int WordStartBefore(int position) const;
  int BoundaryAt(int x) const;
  void MoveCaret(int position, bool extend);
  void KeepCaretVisible();
  void Replace(int start, int length, std::u16string_view insert, Edit kind = Edit::Whole);
  void StartStep(Edit kind);
  void Restore(std::vector<Snapshot>& from, std::vector<Snapshot>& to);
  void Copy();
  void Cut();
  void Paste();
};

}  // namespace tasklane::ui
