// The build's language: the German hints, and the check that the texts match the build.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

namespace {

struct Hint {
  ui::Control& (*control)(TToDoForm&);
  std::u16string_view english;  // the window's design
  std::u16string_view german;
};

const Hint hints[] = {
    {[](TToDoForm& f) -> ui::Control& { return f.PanelDeleteKnopf; }, u"Exit", u"Beenden"},
    {[](TToDoForm& f) -> ui::Control& { return f.PanelShrinkKnopf; }, u"Make small", u"Zuklappen"},
    {[](TToDoForm& f) -> ui::Control& { return f.PanelMinKnopf; }, u"Minimize", u"Minimieren"},
    {[](TToDoForm& f) -> ui::Control& { return f.ImageRedButtonAufklapper; }, u"To make small click on the red bar",
     u"Zum Verkleinern auf den roten Balken klicken"},
    {[](TToDoForm& f) -> ui::Control& { return f.PanelPlusRow; }, u"Add Row", u"Neue Zeile hinzuf\u00fcgen"},
    {[](TToDoForm& f) -> ui::Control& { return f.PanelMinusRow; }, u"Delete Row", u"Letzte Zeile entfernen"},
    {[](TToDoForm& f) -> ui::Control& { return f.PanelPlusColumn; }, u"Add Column", u"Neue Spalte hinzuf\u00fcgen"},
    {[](TToDoForm& f) -> ui::Control& { return f.PanelMinusColumn; }, u"Delete Column", u"Letzte Spalte entfernen"},
};

}  // namespace

void TToDoForm::SetHints(bool english) {
  for (const Hint& hint : hints) hint.control(*this).SetHint(english ? hint.english : hint.german);
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
