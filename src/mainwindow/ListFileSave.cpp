// Saving ToDoList.xml. The list is written completely to a temporary file beside it, which
// then takes the list file's place in one step: whenever the program dies, the list file
// is either the old one or the new one, never a part.
#include "mainwindow/ListFileNames.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {
namespace {

std::u16string_view AlignmentText(TCellAlignment alignment) {
  if (alignment == ALIGNCENTER) return u"CENTER";
  if (alignment == ALIGNRIGHT) return u"RIGHT";
  return u"LEFT";
}

std::u16string_view Flag(bool on) { return on ? u"TRUE" : u"FALSE"; }

}  // namespace

void TToDoForm::XMLSpeichern() {
  // A tree that could not be built completely must not replace an intact file.
  if (!Guarded(u"XMLsaveToDoList-create XML Node", Team::Quillbox, [&] { BuildListTree(); })) return;
  bool writeProtectionFailed = false;
  try {
    platform_.FileSystem().ClearReadOnly(Values.ProgramFolder / listFileName);
  } catch (...) {
    writeProtectionFailed = true;
  }
  WriteListFile(writeProtectionFailed);
}

void TToDoForm::BuildListTree() {
  XmlDoc.LoadFromString(u"");
  xml::XmlElement& root = XmlDoc.Root();
  root.SetName(u"ToDoList");

  xml::XmlElementList& position = root.Items().Add(u"WindowPosition").Items();
  const bool unfolded = Values.FoldState == Unfolded;
  const int width = unfolded ? ClientWidth() : Values.UnfoldedClientWidth;
  position.Add(u"Left", DecimalText(unfolded ? Left() : Left() + ClientWidth() - Values.UnfoldedClientWidth));
  position.Add(u"Top", DecimalText(Top()));
  position.Add(u"Width", DecimalText(width));
  position.Add(u"Height", DecimalText(ClientHeight()));

  xml::XmlElementList& info = root.Items().Add(u"ColumnInfo").Items();
  info.Add(u"RowCount", DecimalText(ToDoGrid.RowCount() - 1));
  info.Add(u"ColumnCount", DecimalText(ToDoGrid.ColCount()));
  info.Add(u"HeaderTextBold", Flag(HeaderTextBold()));
  info.Add(u"DrawGridLines", Flag(DrawGridLines()));

  xml::XmlElementList& skin = root.Items().Add(u"Skin").Items();
  skin.Add(u"SkinName", Values.CurrentSkinName);
  skin.Add(u"SkinPath", Values.CurrentSkinPath);

  ResizeColumnAlignments();
  xml::XmlElementList& header = root.Items().Add(u"ColumnHeader").Items();
  for (int col = 0; col < ToDoGrid.ColCount(); ++col) {
    xml::XmlElementList& column = header.Add(u"Column").Items();
    column.Add(u"ColumnCaption", ToDoGrid.Cell(col, 0));
    column.Add(u"ColumnWidth", DecimalText(ToDoGrid.ColWidth(col)));
    column.Add(u"ColumnAlignment", AlignmentText(Values.ColumnAlignments[static_cast<std::size_t>(col)]));
  }

  xml::XmlElementList& content = root.Items().Add(u"ToDoContent").Items();
  content.Reserve(ToDoGrid.RowCount() - 1);
  for (int row = 1; row < ToDoGrid.RowCount(); ++row) {
    xml::XmlElementList& texts = content.Add(u"Column").Items();
    texts.Reserve(ToDoGrid.ColCount());
    for (int col = 0; col < ToDoGrid.ColCount(); ++col) texts.Add(u"Text", ToDoGrid.Cell(col, row));
  }
}

// Write, flush, then replace. A failure at any step keeps the old list file and shows why.
// A temporary file that could not be written completely is removed; a complete one stays
// when only the replacement fails, since it then holds the user's list. A list file that is
// a link (to a synchronised folder, say) stays one: the file it leads to is replaced, by a
// temporary file beside it, since only within one folder is the replacement a single step.
void TToDoForm::WriteListFile(bool writeProtectionFailed) {
  platform::Files& files = platform_.FileSystem();
  const std::filesystem::path listFile = Values.ProgramFolder / listFileName;
  std::filesystem::path target;
  std::filesystem::path temporary;
  try {
    target = files.FinalTarget(listFile);
    temporary = target.parent_path() / (std::u16string(temporaryFilePrefix) + platform_.NewGuid());
    files.WriteWhole(temporary, XmlDoc.SaveToBytes());
  } catch (...) {
    if (!temporary.empty()) RemoveIncompleteFile(temporary);
    ShowSaveError(writeProtectionFailed);
    return;
  }
  try {
    if (listFileUnreadable_) KeepUnreadableFile(listFile);
    files.Replace(temporary, target);
    listFileUnreadable_ = false;
  } catch (const platform::UnconfirmedReplaceError&) {
    // The new list is in place and is what the next start reads; saying that nothing was
    // saved would be false, and there is nothing the user could do about the rest.
    listFileUnreadable_ = false;
  } catch (...) {
    ShowSaveError(writeProtectionFailed);
  }
}

// Its writing may have failed before the file was even made.
void TToDoForm::RemoveIncompleteFile(const std::filesystem::path& file) {
  try {
    platform_.FileSystem().Delete(file);
  } catch (...) {
  }
}

// A list file we could not read may be damaged in a single byte; it is kept beside the new
// one instead of being replaced, under the first free name.
void TToDoForm::KeepUnreadableFile(const std::filesystem::path& listFile) {
  platform::Files& files = platform_.FileSystem();
  if (!files.FileExists(listFile)) return;
  std::filesystem::path kept = listFile;
  kept += unreadableSuffix;
  for (int number = 2; files.FileExists(kept); ++number) {
    kept = listFile;
    kept += std::string(unreadableSuffix) + "." + std::to_string(number);
  }
  files.Copy(listFile, kept);
}

void TToDoForm::ShowSaveError(bool writeProtectionFailed) {
  const std::u16string file = (Values.ProgramFolder / listFileName).u16string();
  std::u16string text;
  if (EnglishUI) {
    text = writeProtectionFailed ? u"Cannot remove write protection of file: \r\n"
                                 : u"Cannot save this file correctly: \r\n";
    text += file + u"\r\nIt is not possible to save!";
  } else {
    text = writeProtectionFailed ? u"Kann Schreibschutz dieser Datei nicht entfernen: \r\n"
                                 : u"Problem bei speichern dieser Datei aufgetreten: \r\n";
    text += file + u"\r\nSpeichern nicht m\u00f6glich!";
  }
  SetTopMost(false);
  platform_.ShowMessage(EnglishUI ? u"Error at saving" : u"Fehler beim Speichern", text,
                        platform::MessageIcon::Error, platform::MessageButtons::Ok, true);
  SetTopMost(true);
}

}  // namespace tasklane::mainwindow
