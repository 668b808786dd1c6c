// The grid's one-line editor: keys as table rows, the clipboard, the mouse, scrolling, paint.
// States are written as text with '[' for the anchor and '|' for the caret: "one [two|" has
// "two" selected with the caret at its end; "a|b" has nothing selected.
#include <gtest/gtest.h>

#include <vector>

#include "ui/LineEditor.h"

namespace tasklane::ui {
namespace {

using platform::keys::Back, platform::keys::Delete, platform::keys::End, platform::keys::Home,
    platform::keys::Insert, platform::keys::Left, platform::keys::Right;

class FakeClipboard : public platform::Clipboard {
 public:
  std::u16string text;
  int writes = 0;
  std::u16string Text() override { return text; }
  void SetText(std::u16string_view t) override {
    text = t;
    ++writes;
  }
};

struct Step {
  int key = 0;  // 0: type `typed` instead
  platform::ShiftState shift;
  std::u16string typed;
};
Step K(int key) { return {key, {}, {}}; }
Step S(int key) { return {key, {.shift = true}, {}}; }
Step C(int key) { return {key, {.ctrl = true}, {}}; }
Step CS(int key) { return {key, {.shift = true, .ctrl = true}, {}}; }
Step T(std::u16string typed) { return {0, {}, std::move(typed)}; }

const std::u16string emoji = u"\U0001F600";  // one character, two code units
const platform::Rect wideBox = platform::Rect::FromBounds(0, 0, 400, 20);

struct Fixture {
  FakeClipboard clipboard;
  LineEditor editor{clipboard};
  std::vector<std::u16string> changes;
  Fixture() { editor.OnChange([this](const std::u16string& text) { changes.push_back(text); }); }
  void Click(int position, bool shift) {  // 7 pixels a unit, the text starting 2 pixels in
    editor.MouseDown({2 + 7 * position, 5}, {.shift = shift});
    editor.MouseUp();
  }
  // Opens on `state`'s text and puts anchor and caret where its markers stand.
  void Start(std::u16string state) {
    const auto caretAt = state.find(u'|'), anchorAt = state.find(u'[');
    int c = static_cast<int>(caretAt), a = c;
    if (anchorAt != std::u16string::npos) {
      a = static_cast<int>(anchorAt);
      --(anchorAt < caretAt ? c : a);  // the other marker stands before it
    }
    std::erase(state, u'['), std::erase(state, u'|');
    editor.Open(state, wideBox, false);
    Click(a, false);
    Click(c, true);
  }
  std::u16string State() const {
    std::u16string text = editor.Text();
    const int caret = editor.Caret(), start = editor.SelectionStart();
    const int anchor = caret == start ? start + editor.SelectionLength() : start;
    text.insert(static_cast<std::size_t>(caret), 1, u'|');
    if (anchor != caret) text.insert(static_cast<std::size_t>(anchor + (anchor > caret)), 1, u'[');
    return text;
  }
};

struct KeyRow {
  const char* name;
  std::u16string start;
  std::vector<Step> steps;
  std::u16string expected;
  int changes = 0;  // OnChange calls expected
  std::u16string clipboardBefore = u"clip";
  std::u16string clipboardAfter = u"clip";
};
void PrintTo(const KeyRow& row, std::ostream* os) { *os << row.name; }

const KeyRow keyRows[] = {
    {"TypingInsertsAtTheCaret", u"ac|", {K(Left), T(u"b")}, u"ab|c", 1},
    {"TypingReplacesTheSelection", u"one [two| three", {T(u"2")}, u"one 2| three", 1},
    {"ControlCharactersAreIgnored", u"ab|", {T(u"\t\r\x7f\x1b")}, u"ab|", 0},
    {"SurrogateHalvesTypedOneByOne", u"a|b", {T(emoji)}, u"a" + emoji + u"|b", 2},
    {"LeftStepsOverAPair", u"a" + emoji + u"|b", {K(Left)}, u"a|" + emoji + u"b"},
    {"RightStepsOverAPair", u"a|" + emoji + u"b", {K(Right)}, u"a" + emoji + u"|b"},
    {"BackspaceDeletesAWholePair", u"a" + emoji + u"|b", {K(Back)}, u"a|b", 1},
    {"DeleteDeletesAWholePair", u"a|" + emoji + u"b", {K(Delete)}, u"a|b", 1},
    {"ShiftSelectsRightwards", u"a|bcd", {S(Right), S(Right)}, u"a[bc|d"},
    {"ShiftSelectsLeftwardsPastTheAnchor", u"ab[c|d", {S(Left), S(Left)}, u"a|b[cd"},
    {"ShiftHomeAndShiftEnd", u"ab|cd", {S(End), S(Home)}, u"|ab[cd"},
    {"LeftCollapsesToTheSelectionStart", u"a[bc|d", {K(Left)}, u"a|bcd"},
    {"RightCollapsesToTheSelectionEnd", u"a|bc[d", {K(Right)}, u"abc|d"},
    {"LeftAndRightStopAtTheEnds", u"|ab", {K(Left), K(End), K(Right)}, u"ab|"},
    {"HomeAndEnd", u"ab|cd", {K(Home), T(u"<"), K(End), T(u">")}, u"<abcd>|", 2},
    {"CtrlRightGoesToTheNextWordStart", u"o|ne two  three", {C(Right), C(Right)}, u"one two  |three"},
    {"CtrlRightAtTheEndOfALine", u"one two|", {C(Right)}, u"one two|"},
    {"CtrlLeftGoesToTheWordStart", u"one two  thr|ee", {C(Left), C(Left), C(Left)}, u"|one two  three"},
    {"PunctuationBelongsToTheWord", u"|due 2024-05-01, ok", {C(Right), C(Right)}, u"due 2024-05-01, |ok"},
    {"CtrlShiftSelectsWords", u"one |two three", {CS(Right)}, u"one [two |three"},
    {"CtrlBackspaceDeletesTheWordBefore", u"one two  |x", {C(Back)}, u"one |x", 1},
    {"CtrlDeleteDeletesToTheNextWord", u"o|ne two", {C(Delete)}, u"o|two", 1},
    {"BackspaceAndDeleteAtTheEndsChangeNothing", u"|ab", {K(Back), K(End), K(Delete)}, u"ab|", 0},
    {"BackspaceDeletesTheSelection", u"a[bc|d", {K(Back)}, u"a|d", 1},
    {"CtrlASelectsAll", u"a|b", {C('A')}, u"[ab|"},
    {"CtrlCCopies", u"a[bc|d", {C('C')}, u"a[bc|d", 0, u"clip", u"bc"},
    {"CtrlCWithoutSelectionKeepsTheClipboard", u"ab|cd", {C('C')}, u"ab|cd", 0},
    {"CtrlXCuts", u"a|bc[d", {C('X')}, u"a|d", 1, u"clip", u"bc"},
    {"CtrlXWithoutSelectionDoesNothing", u"ab|", {C('X')}, u"ab|", 0},
    {"CtrlVReplacesTheSelection", u"a[bc|d", {C('V')}, u"aclip|d", 1},
    {"CtrlVInsertsAsItIs", u"a|", {C('V')}, u"ax\ty|", 1, u"x\ty", u"x\ty"},
    {"CtrlVWithAnEmptyClipboardKeepsTheSelection", u"[ab|", {C('V')}, u"[ab|", 0, u"", u""},
    {"ShiftDeleteCutsAndShiftInsertPastes", u"[ab|c", {S(Delete), K(End), S(Insert)}, u"cab|", 2, u"", u"ab"},
    {"CtrlInsertCopies", u"[ab|c", {C(Insert)}, u"[ab|c", 0, u"", u"ab"},
};

class LineEditorKeys : public testing::TestWithParam<KeyRow> {};

TEST_P(LineEditorKeys, EditsAsExpected) {
  const KeyRow& row = GetParam();
  Fixture f;
  f.clipboard.text = row.clipboardBefore;
  f.Start(row.start);
  ASSERT_TRUE(f.changes.empty());  // opening and placing the caret are no changes
  for (const Step& step : row.steps) {
    if (step.key != 0) {
      f.editor.BlinkCaret();
      EXPECT_TRUE(f.editor.KeyDown(step.key, step.shift));
      EXPECT_TRUE(f.editor.CaretShown());
    }
    for (char16_t c : step.typed) f.editor.Char(c);
  }
  EXPECT_EQ(f.State(), row.expected);
  EXPECT_EQ(f.changes.size(), static_cast<std::size_t>(row.changes));
  if (!f.changes.empty()) {
    EXPECT_EQ(f.changes.back(), f.editor.Text());
  }
  EXPECT_EQ(f.clipboard.text, row.clipboardAfter);
  if (row.clipboardBefore == row.clipboardAfter) {
    EXPECT_EQ(f.clipboard.writes, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, LineEditorKeys, testing::ValuesIn(keyRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineEditor, OpensWithOrWithoutTheSelection) {
  Fixture f;
  f.editor.Open(u"task", wideBox, true);
  EXPECT_EQ(f.State(), u"[task|");
  f.editor.Open(u"task", wideBox, false);
  EXPECT_EQ(f.State(), u"task|");
  f.editor.Close();
  EXPECT_FALSE(f.editor.IsOpen());
  EXPECT_EQ(f.editor.Text(), u"task");
  EXPECT_FALSE(f.editor.KeyDown(Left, {}));  // a closed editor leaves the keys to the grid
}

TEST(LineEditor, LeavesTheGridsKeysAlone) {
  using namespace platform::keys;
  Fixture f;
  f.Start(u"a[b|c");
  for (int key : {Up, Down, Prior, Next, Escape, Return, Tab, F2, Insert, int{'A'}, int{'Z'}}) {
    EXPECT_FALSE(f.editor.KeyDown(key, {})) << key;
  }
  EXPECT_FALSE(f.editor.KeyDown('V', {.ctrl = true, .alt = true}));  // AltGr+V types, not pastes
  EXPECT_FALSE(f.editor.KeyDown(Home, {.alt = true}));
  EXPECT_EQ(f.State(), u"a[b|c");
}

TEST(LineEditor, MousePlacesTheCaretAtTheNearestBoundary) {
  Fixture f;
  f.editor.Open(u"ab" + emoji + u"c", platform::Rect::FromBounds(30, 0, 400, 20), false);
  const std::vector<std::pair<int, std::u16string>> rows = {
      {-50, u"|ab" + emoji + u"c"}, {32 + 10, u"a|b" + emoji + u"c"}, {32 + 11, u"ab|" + emoji + u"c"},
      {32 + 20, u"ab|" + emoji + u"c"}, {32 + 22, u"ab" + emoji + u"|c"}, {900, u"ab" + emoji + u"c|"}};
  for (const auto& [x, expected] : rows) {
    f.editor.MouseDown({x, 5}, {});
    f.editor.MouseUp();
    EXPECT_EQ(f.State(), expected) << x;
  }
  f.editor.MouseDown({32 + 7, 5}, {.shift = true});
  EXPECT_EQ(f.State(), u"a|b" + emoji + u"c[");
}

TEST(LineEditor, DraggingSelectsUntilTheButtonIsReleased) {
  Fixture f;
  f.editor.Open(u"abcdef", wideBox, false);
  f.editor.MouseDown({2 + 7 * 4, 5}, {});
  f.editor.MouseMove({2 + 7 * 5, 5});
  f.editor.MouseMove({2 + 7 * 1, 5});
  EXPECT_EQ(f.State(), u"a|bcd[ef");
  f.editor.MouseUp();
  f.editor.MouseMove({2, 5});
  EXPECT_EQ(f.State(), u"a|bcd[ef");
  EXPECT_TRUE(f.changes.empty());
}

TEST(LineEditor, DoubleClickSelectsTheRunUnderThePoint) {
  Fixture f;
  f.editor.Open(u"buy e-mail  now", wideBox, false);
  const std::vector<std::pair<int, std::u16string>> rows = {{2 + 7 * 5 + 3, u"buy [e-mail|  now"},
                                                            {2 + 7 * 11, u"buy e-mail[  |now"},
                                                            {0, u"[buy| e-mail  now"},
                                                            {900, u"buy e-mail  [now|"}};
  for (const auto& [x, expected] : rows) {
    f.editor.DoubleClick({x, 5});
    EXPECT_EQ(f.State(), expected) << x;
  }
}

struct PaintCall {
  char kind;  // 'F' fill, 'L' line, 'T' text, 'R' focus rectangle
  platform::Rect rect;
  std::u16string text;
  platform::Color color;
};
class RecordingCanvas : public platform::Canvas {
 public:
  std::vector<PaintCall> calls;
  int clips = 0;
  bool mnemonics = true;
  void FillRect(const platform::Rect& r, platform::Color c) override { calls.push_back({'F', r, {}, c}); }
  void Line(platform::Point a, platform::Point b, platform::Color c) override {
    calls.push_back({'L', {a.x, a.y, b.x, b.y}, {}, c});
  }
  void Text(const platform::Rect& r, std::u16string_view t, const platform::Font&, platform::Color c,
            const platform::TextFormat& format) override {
    calls.push_back({'T', r, std::u16string(t), c});
    mnemonics = mnemonics && format.showMnemonics;
  }
  int TextWidth(std::u16string_view t, const platform::Font&) override { return 5 * static_cast<int>(t.size()); }
  void FocusRect(const platform::Rect& r) override { calls.push_back({'R', r, {}, {}}); }
  void DrawPicture(const platform::Rect& r, const platform::Picture&, platform::PictureTransparency) override {
    calls.push_back({'I', r, {}, {}});
  }
  void PushOrigin(platform::Point) override {}
  void PopOrigin() override {}
  void PushClip(const platform::Rect&) override { ++clips; }
  void PopClip() override { --clips; }
};

const platform::Color ink{1, 1, 1}, paper{2, 2, 2}, mark{3, 3, 3}, marked{4, 4, 4};

TEST(LineEditor, PaintsTheSelectionOverTheTextWithTheMeasure) {
  Fixture f;
  f.editor.SetMeasure([](std::u16string_view t) { return 10 * static_cast<int>(t.size()); });
  const platform::Rect box = platform::Rect::FromBounds(100, 50, 200, 20);
  f.editor.Open(u"a&bc", box, false);
  f.editor.KeyDown(Left, {.shift = true});
  f.editor.KeyDown(Left, {.shift = true});
  RecordingCanvas canvas;
  f.editor.Paint(canvas, {}, ink, paper, mark, marked);
  ASSERT_EQ(canvas.calls.size(), 4u);
  EXPECT_EQ(canvas.calls[0].kind, 'F');
  EXPECT_EQ(canvas.calls[0].rect, box);
  EXPECT_EQ(canvas.calls[1].kind, 'T');
  EXPECT_EQ(canvas.calls[1].text, u"a&bc");
  EXPECT_EQ(canvas.calls[1].rect.left, 102);
  EXPECT_EQ(canvas.calls[1].color, ink);
  EXPECT_EQ(canvas.calls[2].kind, 'F');
  EXPECT_EQ(canvas.calls[2].rect, (platform::Rect{122, 50, 142, 70}));
  EXPECT_EQ(canvas.calls[2].color, mark);
  EXPECT_EQ(canvas.calls[3].text, u"bc");
  EXPECT_EQ(canvas.calls[3].color, marked);
  EXPECT_FALSE(canvas.mnemonics);
  EXPECT_EQ(canvas.clips, 0);  // every clip pushed was popped

  Fixture unmeasured;  // without a measure the canvas measures the paint (5 pixels a unit)
  unmeasured.editor.Open(u"a&bc", box, true);
  RecordingCanvas second;
  unmeasured.editor.Paint(second, {}, ink, paper, mark, marked);
  ASSERT_EQ(second.calls.size(), 4u);
  EXPECT_EQ(second.calls[2].rect, (platform::Rect{102, 50, 122, 70}));
}

TEST(LineEditor, ScrollingKeepsTheCaretInsideTheBox) {
  Fixture f;  // 10 pixels a unit; a 44-pixel box shows 40 of the 200
  f.editor.SetMeasure([](std::u16string_view t) { return 10 * static_cast<int>(t.size()); });
  const platform::Rect box = platform::Rect::FromBounds(10, 0, 44, 20);
  f.editor.Open(u"twenty characters ..", box, false);
  const std::vector<std::pair<Step, int>> rows = {
      {K(End), 10 + 2 + 40}, {K(Home), 12}, {C(Right), 12 + 40}, {K(Left), 12 + 30}, {K(End), 52},
      {K(Left), 42},         {K(Left), 32}, {K(Left), 22},      {S(End), -1},
      {K(Delete), 52},  // the shorter text scrolls back rather than leave the box half empty
      {S(Home), -1},         {K(Left), 12}};
  for (const auto& [step, caretX] : rows) {
    f.editor.KeyDown(step.key, step.shift);
    RecordingCanvas canvas;
    f.editor.Paint(canvas, {}, ink, paper, mark, marked);
    const PaintCall& last = canvas.calls.back();
    if (caretX < 0) {
      EXPECT_EQ(last.kind, 'T');  // a selection shows no caret
      continue;
    }
    ASSERT_EQ(last.kind, 'L') << caretX;
    EXPECT_EQ(last.rect.left, caretX);
    EXPECT_EQ(last.color, ink);
  }
  f.editor.BlinkCaret();
  RecordingCanvas canvas;
  f.editor.Paint(canvas, {}, ink, paper, mark, marked);
  EXPECT_EQ(canvas.calls.back().kind, 'T');  // the blink hides it
}

}  // namespace
}  // namespace tasklane::ui
