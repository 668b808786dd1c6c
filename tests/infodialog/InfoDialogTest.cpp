// The info dialog as a user meets it: its texts in each language, its place, the logo
// button, the links, moving it and closing it.
#include <gtest/gtest.h>

#include "infodialog/ShowInfoSRC.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedPlatform.h"

namespace tasklane::infodialog {
namespace {

using platform::MouseButton;
using platform::Point;

class InfoDialog : public ::testing::Test {
 protected:
  TShowInfoDialog& Open(std::u16string_view language) {
    TShowInfoDialog& dialog = dialogs.OpenInfoDialog(language);
    testing::RecordingCanvas canvas;
    dialog.Paint(canvas);  // labels take their sizes as they are drawn
    return dialog;
  }
  static Point Inside(const ui::Control& control) { return {control.Bounds().left + 2, control.Bounds().top + 2}; }
  testing::ScriptedDialog& Window() { return *platform.Dialogs().back(); }

  testing::ScriptedPlatform platform;
  ui::HintSettings hints;
  InfoDialogs dialogs{platform, hints};
};

TEST_F(InfoDialog, OpensCentredWithTheEnglishTextsAndWhiteHints) {
  TShowInfoDialog& dialog = Open(u"English");
  EXPECT_EQ(Window().Title(), u"Tasklane Version 1.0");
  EXPECT_EQ(Window().OuterBounds(), platform::Rect::FromBounds(718, 312, 483, 456));
  EXPECT_TRUE(Window().Visible());
  EXPECT_EQ(dialog.llbInfo11.Text(), u"Click on the red bar to");
  EXPECT_EQ(dialog.llbInfo23.Text(), u"options!");
  EXPECT_EQ(dialog.llbQBLink.Text(), quillboxAddress);
  EXPECT_EQ(dialog.btnQBIconNormal.Hint(), u"Visit www.quillbox.com");
  EXPECT_EQ(dialog.llbQBInfo3.Bounds().left, 152);
  EXPECT_EQ(hints.color, (platform::Color{255, 255, 255}));
  EXPECT_EQ(hints.pauseMs, 400);
  EXPECT_EQ(hints.hidePauseMs, 25000);
  ASSERT_NE(dialog.imgInfo.Picture(), nullptr);
  EXPECT_EQ(dialog.imgInfo.Picture()->Width(), 477);
}

TEST_F(InfoDialog, OnlyDeutschExactlyGivesTheGermanTexts) {
  for (std::u16string_view name : {u"deutsch", u"German", u"Deutsch "}) {
    EXPECT_EQ(Open(name).llbInfo4.Text(), u"More information here:");
  }
  TShowInfoDialog& german = Open(u"Deutsch");
  EXPECT_EQ(german.llbInfo4.Text(), u"Mehr Informationen hier:");
  EXPECT_EQ(german.llbInfo22.Text(), u"rechten Maustaste f\u00fcr ein");
  EXPECT_EQ(german.lblLinkTarget, tasklaneGermanAddress);
  EXPECT_EQ(german.llbQBLink.Hint(), u"www.quillbox.de besuchen");
  EXPECT_EQ(german.btnQBIconActive.Hint(), u"www.quillbox.de besuchen");
  EXPECT_EQ(platform.Dialogs().size(), 4u);  // every opening is a window of its own
  EXPECT_EQ(dialogs.ShowInfoDialog, &german);
}

TEST_F(InfoDialog, EnterAndEscapeCloseOtherKeysDoNot) {
  TShowInfoDialog& dialog = Open(u"English");
  dialog.KeyDown('A', {});
  EXPECT_TRUE(Window().Visible());
  dialog.KeyDown(platform::keys::Escape, {});
  EXPECT_FALSE(Window().Visible());
  Open(u"English").KeyDown(platform::keys::Return, {});
  EXPECT_FALSE(Window().Visible());
}

TEST_F(InfoDialog, AnyButtonMovesItByTheBackgroundOrAHintButNotByALink) {
  TShowInfoDialog& dialog = Open(u"English");
  dialog.MouseDown(MouseButton::Right, {300, 20}, {});
  dialog.MouseDown(MouseButton::Middle, Inside(dialog.llbInfo12), {});
  EXPECT_EQ(Window().Moves(), 2);
  dialog.MouseDown(MouseButton::Left, Inside(dialog.lblLink), {});
  dialog.MouseDown(MouseButton::Right, Inside(dialog.llbQBLink), {});
  EXPECT_EQ(Window().Moves(), 2);
}

TEST_F(InfoDialog, TheLogoLightsUpPressesAndOpensTheOrganizersPage) {
  TShowInfoDialog& dialog = Open(u"Deutsch");
  const Point logo = Inside(dialog.btnQBIconNormal);
  dialog.MouseMove(logo, {});
  EXPECT_TRUE(dialog.btnQBIconHover.Visible());
  EXPECT_EQ(dialog.llbQBLink.Color, TShowInfoDialog::linkRed);
  dialog.MouseDown(MouseButton::Left, logo, {});
  EXPECT_TRUE(dialog.btnQBIconActive.Visible());
  dialog.MouseUp(MouseButton::Left, logo, {});
  EXPECT_EQ(platform.OpenedAddresses(), std::vector<std::u16string>{std::u16string(quillboxGermanAddress)});

  dialog.MouseMove({300, 20}, {});
  EXPECT_FALSE(dialog.btnQBIconHover.Visible());
  EXPECT_FALSE(dialog.btnQBIconActive.Visible());
  EXPECT_EQ(dialog.llbQBLink.Color, TShowInfoDialog::linkBlue);
}

TEST_F(InfoDialog, TheLinksTurnRedAndOpenTheAddressTheyShow) {
  TShowInfoDialog& dialog = Open(u"English");
  const Point link = Inside(dialog.lblLink);
  dialog.MouseMove(link, {});
  EXPECT_EQ(dialog.lblLink.Color, TShowInfoDialog::linkRed);
  dialog.MouseDown(MouseButton::Left, link, {});
  dialog.MouseUp(MouseButton::Left, {300, 20}, {});  // released elsewhere: no click
  EXPECT_TRUE(platform.OpenedAddresses().empty());
  dialog.MouseDown(MouseButton::Left, link, {});
  dialog.MouseUp(MouseButton::Left, link, {});
  EXPECT_EQ(platform.OpenedAddresses(), std::vector<std::u16string>{std::u16string(tasklaneAddress)});
}

TEST_F(InfoDialog, TheLogoShowsItsHintAfterThePause) {
  TShowInfoDialog& dialog = Open(u"English");
  dialog.MouseMove(Inside(dialog.btnQBIconNormal), {});
  EXPECT_TRUE(Window().HintTimer().enabled);
  EXPECT_EQ(Window().HintTimer().intervalMs, 400);
  dialog.TimerTick();
  ASSERT_EQ(platform.Hints().size(), 1u);
  EXPECT_EQ(platform.Hints()[0].text, u"Visit www.quillbox.com");
}

TEST_F(InfoDialog, AScreenReaderReadsEachHintWholeAndActivatesTheLinksAndTheLogo) {
  TShowInfoDialog& dialog = Open(u"Deutsch");
  const std::vector<platform::AccessiblePart> parts = dialog.AccessibleParts();
  ASSERT_EQ(parts.size(), 10u);
  EXPECT_EQ(parts[0].name, u"Klicken Sie auf den roten Streifen um \"Tasklane\" auf ihren Desktop zu verkleinern.");
  EXPECT_EQ(parts[0].bounds.left, dialog.llbInfo11.Bounds().left);
  EXPECT_EQ(parts[0].bounds.top, dialog.llbInfo11.Bounds().top);
  EXPECT_EQ(parts[0].bounds.bottom, dialog.llbInfo13.Bounds().bottom);
  std::vector<std::u16string> acting;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].role == platform::AccessibleRole::Text) continue;
    acting.push_back(parts[i].name);
    dialog.ActivatePart(static_cast<int>(i));
  }
  EXPECT_EQ(acting, (std::vector<std::u16string>{u"www.tasklane.org/de", u"www.quillbox.de", u"www.quillbox.de besuchen"}));
  EXPECT_EQ(platform.OpenedAddresses(),
            (std::vector<std::u16string>{u"www.tasklane.org/de", u"www.quillbox.de", u"www.quillbox.de"}));
  dialog.ActivatePart(0);  // a text does nothing
  EXPECT_EQ(platform.OpenedAddresses().size(), 3u);
}

}  // namespace
}  // namespace tasklane::infodialog
