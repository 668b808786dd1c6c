// The build's language: the German hints, and the check that the texts match the build.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

namespace {

struct Hint {
  ui::Control TToDoForm::*control;
  std::u16string_view english;  // the window's design
  std::u16string_view german;
};

constexpr Hint hints[] = {
    {&TToDoForm::PanelDeleteKnopf, u"Exit", u"Beenden"},
    {&TToDoForm::PanelShrinkKnopf, u"Make small", u"Zuklappen"},
    {&TToDoForm::PanelMinKnopf, u"Minimize", u"Minimieren"},
    {&TToDoForm::ImageRedButtonAufklapper, u"To make small click on the red bar",
     u"Zum Verkleinern auf den roten Balken klicken"},
    {&TToDoForm::PanelPlusRow, u"Add Row", u"Neue Zeile hinzuf\u00fcgen"},
    {&TToDoForm::PanelMinusRow, u"Delete Row", u"Letzte Zeile entfernen"},
    {&TToDoForm::PanelPlusColumn, u"Add Column", u"Neue Spalte hinzuf\u00fcgen"},
    {&TToDoForm::PanelMinusColumn, u"Delete Column", u"Letzte Spalte entfernen"},
};

}  // namespace

void TToDoForm::SetHints(bool english) {
  for (const Hint& hint : hints) (this->*hint.control).SetHint(english ? hint.english : hint.german);
}

void TToDoForm::ApplyGermanHints() { SetHints(false); }

void TToDoForm::CheckLanguageResource() {
  const std::u16string_view expected = EnglishUI ? u"ENGLISH" : u"DEUTSCH";
  const std::u16string found = platform_.LanguageResource();
  if (found == expected) return;
  std::u16string text = u"Wrong constants!\r\n\r\nExpected:  ";
  text += expected;
  text += u"\r\nFound:  ";
  text += found;
  platform_.ShowMessage(caption, text, platform::MessageIcon::None, platform::MessageButtons::Ok, false);
}

}  // namespace tasklane::mainwindow
