// The main window's widget in this process, over the core's real form (on the scripted
// platform for its services): what it is to the window system, what its input does to the
// grid, what it paints, and how it closes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextCharFormat>
#include <QWheelEvent>
#include <QWindow>
#include <functional>

#include "backends/qt/qt_window.h"
#include "backends/qt/QtWait.h"
#include "mainwindow/ToDoUnit.h"
#include "support/ScriptedPlatform.h"

namespace tasklane::qt {
namespace {

using platform::Rect;

class QtWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.AttachEvents(form);
    window.AttachForm(form);
    window.SetBounds(Rect::FromBounds(100, 100, 370, 211));
    // The core reads the window's size from its own platform here, the scripted one.
    scripted.SetWindowBounds(Rect::FromBounds(100, 100, 370, 211));
    form.Values.FoldState = mainwindow::Unfolded;
    form.FormResize();
  }

  bool ShowAndFocus() {
    window.Show(platform::WindowShow::Show);
    window.activateWindow();
    return WaitFor([&] { return window.isActiveWindow() && window.hasFocus(); });
  }

  // The middle of a cell, in window coordinates.
  QPoint PointOf(int col, int row) const {
    const Rect cell = form.ToDoGrid.CellRect(col, row);
    return {grid.left + 1 + (cell.left + cell.right) / 2, grid.top + 1 + (cell.top + cell.bottom) / 2};
  }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, window.mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
  }
  void Click(QPoint at) {
    Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  }
  void Key(int key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&window, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&window, &release);
  }
  // What an input method asks, as it asks it.
  QVariant Ask(Qt::InputMethodQuery query) {
    QInputMethodQueryEvent event(query);
    QApplication::sendEvent(&window, &event);
    return event.value(query);
  }
  void Wheel(QPoint at, int angle) {
    QWheelEvent event(at, window.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&window, &event);
  }

  const Rect grid = Rect::FromBounds(30, 30, 310, 151);  // where the frame puts it at 370 x 211
  tasklane::testing::ScriptedPlatform scripted;
  mainwindow::TToDoForm form{scripted};
  QtWindow window;
};

// A window manager's own sizing cannot take it below what the program allows.
TEST_F(QtWindowTest, TheWindowSystemKnowsTheSmallestSize) {
  window.Show(platform::WindowShow::Show);
  ASSERT_TRUE(WaitFor([&] { return window.windowHandle() != nullptr; }));
  EXPECT_EQ(window.windowHandle()->minimumSize(), QSize(10, 10));
  window.SetBounds(Rect::FromBounds(100, 100, 0, 0));
  EXPECT_EQ(window.Bounds(), Rect::FromBounds(100, 100, 10, 10));
}

TEST_F(QtWindowTest, IsAFramelessTopMostToolWindowThatTakesTheFocus) {
  window.SetTopMost(true);
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(window.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Tasklane"));
  EXPECT_EQ(window.objectName(), QStringLiteral("TToDoForm"));
  ASSERT_TRUE(ShowAndFocus());
  EXPECT_TRUE(form.ToDoGrid.Focused());
}

TEST_F(QtWindowTest, TopMostSwitchesKeepTheWindowShownWhereItWas) {
  window.SetTopMost(true);
  ASSERT_TRUE(ShowAndFocus());
  window.SetTopMost(false);
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.Bounds(), Rect::FromBounds(100, 100, 370, 211));
  window.SetTopMost(true);
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.Bounds(), Rect::FromBounds(100, 100, 370, 211));
}

TEST_F(QtWindowTest, ShowHideAndShowNormal) {
  window.Show(platform::WindowShow::Show);
  EXPECT_TRUE(window.isVisible());
  window.Show(platform::WindowShow::Hide);
  EXPECT_FALSE(window.isVisible());
  window.Show(platform::WindowShow::ShowNormal);
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.isMinimized());
  // The minimise button minimises, then hides; the tray icon's click brings the window back.
  window.Show(platform::WindowShow::Minimize);
  EXPECT_TRUE(window.isMinimized());
  window.Show(platform::WindowShow::Hide);
  EXPECT_FALSE(window.isVisible());
  window.Show(platform::WindowShow::ShowNormal);
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.isMinimized());
}

TEST_F(QtWindowTest, EdgesAndCornersShowTheirSizingCursors) {
  const struct {
    QPoint at;
    Qt::CursorShape shape;
  } rows[] = {
      {{1, 100}, Qt::SizeHorCursor},    {{368, 100}, Qt::SizeHorCursor},  {{200, 1}, Qt::SizeVerCursor},
      {{200, 209}, Qt::SizeVerCursor},  {{1, 1}, Qt::SizeFDiagCursor},    {{360, 200}, Qt::SizeFDiagCursor},
      {{368, 2}, Qt::SizeBDiagCursor},  {{10, 200}, Qt::SizeBDiagCursor}, {PointOf(1, 1), Qt::ArrowCursor},
  };
  for (const auto& row : rows) {
    Mouse(QEvent::MouseMove, row.at, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window.cursor().shape(), row.shape) << row.at.x() << "," << row.at.y();
  }
}

// Offscreen there is no window manager: the window sizes itself, as it does on a bare X server.
TEST_F(QtWindowTest, PressOnAnEdgeSizesTheWindowWithoutTheCoreSeeingIt) {
  ASSERT_TRUE(ShowAndFocus());
  const QPoint origin(100, 100);  // the window's place on the screen before the sizing
  const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at - window.pos(), at, button, held, Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
  };
  // The left edge lies over the red bar, whose click would fold the window.
  send(QEvent::MouseButtonPress, origin + QPoint(1, 100), Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, origin + QPoint(-19, 90), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(window.Bounds(), Rect::FromBounds(80, 100, 390, 211)) << "the right edge stays";
  send(QEvent::MouseMove, origin + QPoint(500, 100), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(window.Bounds(), Rect::FromBounds(460, 100, 10, 211)) << "no narrower than the size limits";
  send(QEvent::MouseButtonRelease, origin + QPoint(500, 100), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  send(QEvent::MouseMove, origin + QPoint(300, 100), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(window.Bounds(), Rect::FromBounds(460, 100, 10, 211)) << "released: moving no longer sizes";
  EXPECT_EQ(form.Values.FoldState, mainwindow::Unfolded);
  EXPECT_EQ(scripted.SystemMoves(), 0);
  EXPECT_TRUE(scripted.SystemResizes().empty());
}

TEST_F(QtWindowTest, PressOnACellMakesTheGridActiveAndTheCellCurrent) {
  ASSERT_TRUE(ShowAndFocus());
  form.SetActiveControl(&form.ButtonForFocus);
  Click(PointOf(1, 2));
  EXPECT_EQ(form.ActiveControl, &form.ToDoGrid);
  EXPECT_EQ(form.ToDoGrid.Col(), 1);
  EXPECT_EQ(form.ToDoGrid.Row(), 2);
}

TEST_F(QtWindowTest, PressBesideTheGridLeavesItAlone) {
  ASSERT_TRUE(ShowAndFocus());
  form.SetActiveControl(&form.ButtonForFocus);
  Click(QPoint(3, 3));
  EXPECT_EQ(form.ActiveControl, &form.ButtonForFocus);
}

TEST_F(QtWindowTest, TypedTextGoesIntoTheCurrentCell) {
  ASSERT_TRUE(ShowAndFocus());
  Click(PointOf(1, 1));
  Key(Qt::Key_H, QStringLiteral("H"), Qt::ShiftModifier);
  Key(Qt::Key_I, QStringLiteral("i"));
  // Alt and Ctrl with a key type nothing, as on Windows.
  Key(Qt::Key_Q, QStringLiteral("q"), Qt::AltModifier);
  Key(Qt::Key_Q, QStringLiteral("q"), Qt::ControlModifier);
  // What an input method composes arrives whole, surrogate pairs included.
  QInputMethodEvent composed;
  composed.setCommitString(QString::fromUtf8("\xC3\xBC\xF0\x9F\x98\x80"));
  QApplication::sendEvent(&window, &composed);
  Key(Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_FALSE(form.ToDoGrid.EditorMode());
  EXPECT_EQ(form.ToDoGrid.Cell(1, 1), u"Hi\u00FC\U0001F600");
}

// A composition opens the editor and shows at the caret; the input method is told where the
// caret stands, and its commit is the cell's text.
TEST_F(QtWindowTest, AnInputMethodComposesAtTheCaret) {
  ASSERT_TRUE(ShowAndFocus());
  Click(PointOf(1, 2));
  // The first character typed, underlined; the second the clause being converted.
  QTextCharFormat typed;
  typed.setUnderlineStyle(QTextCharFormat::SingleUnderline);
  QTextCharFormat converted;
  converted.setBackground(Qt::darkBlue);
  const QList<QInputMethodEvent::Attribute> marks = {{QInputMethodEvent::Cursor, 1, 1},
                                                     {QInputMethodEvent::TextFormat, 0, 1, typed},
                                                     {QInputMethodEvent::TextFormat, 1, 5, converted}};
  QInputMethodEvent composing(QString::fromUtf8("\xE3\x81\x8B\xE3\x82\x93"), marks);
  QApplication::sendEvent(&window, &composing);
  ASSERT_TRUE(form.ToDoGrid.EditorMode());
  EXPECT_EQ(form.ToDoGrid.Editor().Composition(), u"\u304B\u3093");
  const std::vector<ui::CompositionStyle>& styles = form.ToDoGrid.Editor().CompositionStyles();
  ASSERT_EQ(styles.size(), 2u);
  EXPECT_TRUE(styles[0].underline && !styles[0].highlight);
  EXPECT_TRUE(!styles[1].underline && styles[1].highlight);
  EXPECT_EQ(styles[1].length, 1);  // held to the composition
  EXPECT_TRUE(Ask(Qt::ImEnabled).toBool());
  const QRect caret = Ask(Qt::ImCursorRectangle).toRect();
  const Rect cell = form.ToDoGrid.CellRect(1, 2);
  EXPECT_GT(caret.left(), grid.left + 1 + cell.left);  // inside the composition, past its first character
  EXPECT_LT(caret.left(), grid.left + 1 + cell.right);
  EXPECT_GE(caret.top(), grid.top + 1 + cell.top);
  EXPECT_LE(caret.bottom(), grid.top + 1 + cell.bottom);

  QInputMethodEvent committed;
  committed.setCommitString(QString::fromUtf8("\xE6\xBC\xA2"));
  QApplication::sendEvent(&window, &committed);
  EXPECT_EQ(form.ToDoGrid.Editor().Composition(), u"");
  EXPECT_EQ(form.ToDoGrid.Cell(1, 2), u"\u6F22");
  EXPECT_EQ(Ask(Qt::ImSurroundingText).toString(), QString::fromUtf8("\xE6\xBC\xA2"));
  EXPECT_EQ(Ask(Qt::ImCursorPosition).toInt(), 1);

  // A commit may take the place of text before the caret, as a Korean input method's does.
  QInputMethodEvent replacing;
  replacing.setCommitString(QString::fromUtf8("\xED\x95\x9C"), -1, 1);
  QApplication::sendEvent(&window, &replacing);
  EXPECT_EQ(form.ToDoGrid.Cell(1, 2), u"\uD55C");
}

TEST_F(QtWindowTest, KeysMoveTheCurrentCell) {
  ASSERT_TRUE(ShowAndFocus());
  Click(PointOf(0, 1));
  Key(Qt::Key_Down);
  Key(Qt::Key_Right);
  EXPECT_EQ(form.ToDoGrid.Col(), 1);
  EXPECT_EQ(form.ToDoGrid.Row(), 2);
  Key(Qt::Key_End);
  EXPECT_EQ(form.ToDoGrid.Col(), 2);
}

TEST_F(QtWindowTest, TabGoesToTheGridNotToQtsFocusChain) {
  ASSERT_TRUE(ShowAndFocus());
  Key(Qt::Key_Tab, QStringLiteral("\t"));
  EXPECT_EQ(form.ActiveControl, &form.ButtonForFocus);
  EXPECT_TRUE(window.hasFocus());
  // Keys now belong to the other control, not the grid.
  const int row = form.ToDoGrid.Row();
  Key(Qt::Key_Down);
  EXPECT_EQ(form.ToDoGrid.Row(), row);
}

TEST_F(QtWindowTest, DraggingAColumnBorderSizesTheColumnEvenOutsideTheGrid) {
  ASSERT_TRUE(ShowAndFocus());
  const int border = form.ToDoGrid.CellRect(0, 0).right;
  const QPoint start(grid.left + 1 + border, grid.top + 1 + 5);
  Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, start + QPoint(30, 0), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(form.ToDoGrid.ColWidth(0), 80);
  Mouse(QEvent::MouseMove, start + QPoint(30, -8), Qt::NoButton, Qt::LeftButton);  // above the grid
  EXPECT_EQ(form.ToDoGrid.ColWidth(0), 80);
  Mouse(QEvent::MouseButtonRelease, start + QPoint(40, -8), Qt::LeftButton, Qt::NoButton);
  Mouse(QEvent::MouseMove, start + QPoint(60, 0), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(form.ToDoGrid.ColWidth(0), 80) << "released: moving no longer sizes";
}

TEST_F(QtWindowTest, WheelMovesOneRowPerNotch) {
  ASSERT_TRUE(ShowAndFocus());
  const QPoint over = PointOf(1, 3);
  Wheel(over, -120);
  EXPECT_EQ(form.ToDoGrid.Row(), 2);
  Wheel(over, -60);
  EXPECT_EQ(form.ToDoGrid.Row(), 2);
  Wheel(over, -60);
  EXPECT_EQ(form.ToDoGrid.Row(), 3);
  Wheel(over, 120);
  EXPECT_EQ(form.ToDoGrid.Row(), 2);
}

TEST_F(QtWindowTest, LosingTheFocusTellsTheGrid) {
  ASSERT_TRUE(ShowAndFocus());
  EXPECT_TRUE(form.ToDoGrid.Focused());
  window.clearFocus();
  EXPECT_FALSE(form.ToDoGrid.Focused());
  window.setFocus();
  EXPECT_TRUE(form.ToDoGrid.Focused());
}

TEST_F(QtWindowTest, PaintsTheFrameAndTheGridInsideItsBorder) {
  form.ToDoGrid.SetRowCount(3);  // room below the last row
  const QImage image = window.grab().toImage();
  const QColor bar = image.pixelColor(15, grid.top + 60);  // the red bar beside the grid
  EXPECT_GT(bar.red(), bar.green() + 60);
  EXPECT_EQ(image.pixelColor(grid.left, grid.top + 40), QColor(160, 160, 160));
  EXPECT_EQ(image.pixelColor(grid.right - 1, grid.top + 40), QColor(160, 160, 160));
  const platform::Color fixed = form.ToDoGrid.FixedColor;
  EXPECT_EQ(image.pixelColor(grid.left + 4, grid.top + 4), QColor(fixed.red, fixed.green, fixed.blue));
  // Task cells are the form's own white; below the last row the grid's colour shows.
  EXPECT_EQ(image.pixelColor(PointOf(1, 2)), QColor(Qt::white));
  const Rect lastRow = form.ToDoGrid.CellRect(1, form.ToDoGrid.RowCount() - 1);
  const platform::Color empty = form.ToDoGrid.Color;
  EXPECT_EQ(image.pixelColor(grid.left + 1 + 100, grid.top + 1 + lastRow.bottom + 4),
            QColor(empty.red, empty.green, empty.blue));
}


// The window's events without a form behind them: size limits, sizes and close answers.
class RecordingEvents : public platform::WindowEvents {
 public:
  void TimerTick(int) override {}
  bool CloseQuery() override {
    ++closeQueries;
    return mayClose;
  }
  void Resized() override { ++resized; }
  void SizeLimits(platform::Size& minimum, platform::Size& maximum) override {
    minimum = {100, 50};
    maximum = {300, 200};
  }
  platform::HitZone HitTest(platform::Point) override { return platform::HitZone::Client; }
  void Moved() override {}
  void Displaced() override {}
  void TrayClicked() override {}
  void TrayMenuRequested() override {}
  int closeQueries = 0;
  bool mayClose = false;
  int resized = 0;
};

TEST(QtWindow, BoundsKeepToTheSizeLimitsAndEachNewSizeIsToldOnce) {
  RecordingEvents events;
  QtWindow window;
  window.AttachEvents(events);
  window.SetBounds(Rect::FromBounds(10, 20, 50, 500));
  EXPECT_EQ(window.Bounds(), Rect::FromBounds(10, 20, 100, 200));
  EXPECT_EQ(events.resized, 1);
  window.SetBounds(Rect::FromBounds(30, 40, 100, 200));
  EXPECT_EQ(window.Bounds(), Rect::FromBounds(30, 40, 100, 200));
  EXPECT_EQ(events.resized, 1) << "moved, not sized";
  window.Show(platform::WindowShow::Show);
  ASSERT_TRUE(WaitFor([&] { return window.isVisible(); }));
  QApplication::processEvents();
  EXPECT_EQ(events.resized, 1) << "showing brings the size it already told";
  window.SetBounds(Rect::FromBounds(30, 40, 250, 150));
  EXPECT_TRUE(WaitFor([&] { return events.resized == 2; }));
  EXPECT_EQ(window.Bounds(), Rect::FromBounds(30, 40, 250, 150));
}

TEST(QtWindow, CloseAsksOnceAndARefusalKeepsTheWindow) {
  RecordingEvents events;
  QtWindow window;
  window.AttachEvents(events);
  window.Show(platform::WindowShow::Show);
  window.RequestClose();
  EXPECT_EQ(events.closeQueries, 1);
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.Closed());

  events.mayClose = true;
  window.RequestClose();
  EXPECT_EQ(events.closeQueries, 2);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(window.Closed());

  window.RequestClose();
  window.close();
  EXPECT_EQ(events.closeQueries, 2) << "closed once, asked no more";
}

}  // namespace
}  // namespace tasklane::qt
