// The build's language: the German hints, and the check that the texts match the build.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {

void TToDoForm::ApplyGermanHints() {
  PanelDeleteKnopf.SetHint(u"Beenden");
  PanelShrinkKnopf.SetHint(u"Zuklappen");
  PanelMinKnopf.SetHint(u"Minimieren");
  ImageRedButtonAufklapper.SetHint(u"Zum Verkleinern auf den roten Balken klicken");
  PanelPlusRow.SetHint(u"Neue Zeile hinzuf\u00fcgen");
  PanelMinusRow.SetHint(u"Letzte Zeile entfernen");
  PanelPlusColumn.SetHint(u"Neue Spalte hinzuf\u00fcgen");
  PanelMinusColumn.SetHint(u"Letzte Spalte entfernen");
}

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
