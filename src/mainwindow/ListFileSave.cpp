// Saving ToDoList.xml. The list is written completely to a temporary file beside it, which
// then takes the list file's place in one step: whenever the program dies, the list file
// is either the old one or the new one, never a part.
#include "mainwindow/ListFileNames.h"
#include "mainwindow/ToDoUnit.h"
#include "xml/XmlWriter.h"

namespace tasklane::mainwindow {
namespace {

std::u16string_view AlignmentText(TCellAlignment alignment) {
  if (alignment == ALIGNCENTER) return u"CENTER";
  if (alignment == ALIGNRIGHT) return u"RIGHT";
  return u"LEFT";
}

std::u16string_view Flag(bool on) { return on ? u"TRUE" : u"FALSE"; }

// The list could not be made completely; that has been reported already.
struct ListNotMade {};

}  // namespace

bool TToDoForm::XMLSpeichern() {
  bool writeProtectionFailed = false;
  try {
    platform_.FileSystem().ClearReadOnly(ListFile());
  } catch (...) {
    writeProtectionFailed = true;
  }
  return WriteListFile(writeProtectionFailed);
}

// Makes the list's text form into `write`, telling a failure of its own making (reported
// here) from one of the writing, which is passed on as it is.
void TToDoForm::MakeListFile(const platform::Files::ByteWriter& write) {
  bool writing = false;
  try {
    PutListFile([&](std::string_view bytes) {
      writing = true;
      write(bytes);
      writing = false;
    });
  } catch (...) {
    if (writing) throw;
    ErrorReport(u"XMLsaveToDoList-create XML Node", Team::Quillbox);
    throw ListNotMade{};
  }
}

// The list's text form, element by element straight from the table into the file: a list of
// any size is saved without a copy of it in memory.
void TToDoForm::PutListFile(const platform::Files::ByteWriter& write) {
  xml::XmlStreamWriter out(write);
  out.Open(u"ToDoList");

  out.Open(u"WindowPosition");
  const platform::Rect window = KeptWindowRect();
  out.Leaf(u"Left", DecimalText(window.left));
  out.Leaf(u"Top", DecimalText(window.top));
  out.Leaf(u"Width", DecimalText(window.Width()));
  out.Leaf(u"Height", DecimalText(window.Height()));
  out.Close();

  out.Open(u"ColumnInfo");
  out.Leaf(u"RowCount", DecimalText(ToDoGrid.RowCount() - 1));
  out.Leaf(u"ColumnCount", DecimalText(ToDoGrid.ColCount()));
  out.Leaf(u"HeaderTextBold", Flag(HeaderTextBold()));
  out.Leaf(u"DrawGridLines", Flag(DrawGridLines()));
  out.Close();

  out.Open(u"Skin");
  out.Leaf(u"SkinName", Values.CurrentSkinName);
  out.Leaf(u"SkinPath", Values.CurrentSkinPath);
  out.Close();

  ResizeColumnAlignments();
  out.Open(u"ColumnHeader");
  for (int col = 0; col < ToDoGrid.ColCount(); ++col) {
    out.Open(u"Column");
    out.Leaf(u"ColumnCaption", ToDoGrid.Cell(col, 0));
    out.Leaf(u"ColumnWidth", DecimalText(ToDoGrid.ColWidth(col)));
    out.Leaf(u"ColumnAlignment", AlignmentText(Values.ColumnAlignments[static_cast<std::size_t>(col)]));
    out.Close();
  }
  out.Close();

  out.Open(u"ToDoContent");
  std::vector<std::u16string_view> cells;
  for (int row = 1; row < ToDoGrid.RowCount(); ++row) {
    ToDoGrid.RowCells(row, cells);
    out.Open(u"Column");
    out.Leaves(u"Text", cells);
    out.Close();
  }
  out.Finish();
}

// A window folded, or on its way, is kept as it stands unfolded, with the same right edge.
platform::Rect TToDoForm::KeptWindowRect() {
  const bool unfolded = Values.FoldState == Unfolded;
  const int width = unfolded ? ClientWidth() : Values.UnfoldedClientWidth;
  const int left = unfolded ? Left() : Left() + ClientWidth() - Values.UnfoldedClientWidth;
  return platform::Rect::FromBounds(left, Top(), width, ClientHeight());
}

// Write, flush, then replace. A failure at any step keeps the old list file and shows why;
// so does a list that could not be made completely, which must not replace an intact file.
// A temporary file that could not be written completely is removed; a complete one stays
// when only the replacement fails, since it then holds the user's list. A list file that is
// a link (to a synchronised folder, say) stays one: the file it leads to is replaced, by a
// temporary file beside it, since only within one folder is the replacement a single step.
bool TToDoForm::WriteListFile(bool writeProtectionFailed) {
  platform::Files& files = platform_.FileSystem();
  const std::filesystem::path listFile = ListFile();
  std::filesystem::path target;
  std::filesystem::path temporary;
  try {
    // The data folder of an installed program is made on its first save.
    if (Values.ListFolder != Values.ProgramFolder) files.CreatePrivateFolder(Values.ListFolder.parent_path());
    target = files.FinalTarget(listFile);
    temporary = target.parent_path() / (std::u16string(temporaryFilePrefix) + platform_.NewGuid());
    files.WriteWhole(temporary, [&](const platform::Files::ByteWriter& write) { MakeListFile(write); });
  } catch (const ListNotMade&) {
    RemoveIncompleteFile(temporary);
    return false;
  } catch (...) {
    if (!temporary.empty()) RemoveIncompleteFile(temporary);
    ShowSaveError(writeProtectionFailed);
    return false;
  }
  try {
    if (listFileUnreadable_) KeepUnreadableFile(target);
    else KeepVersionChangedElsewhere(target);
    files.Replace(temporary, target);
  } catch (const platform::UnconfirmedReplaceError&) {
    // The new list is in place and is what the next start reads; saying that nothing was
    // saved would be false, and there is nothing the user could do about the rest.
  } catch (...) {
    ShowSaveError(writeProtectionFailed);
    return false;
  }
  listFileUnreadable_ = false;
  NoteSavedList(target);
  return true;
}

// Its writing may have failed before the file was even made.
void TToDoForm::RemoveIncompleteFile(const std::filesystem::path& file) {
  try {
    platform_.FileSystem().Delete(file);
  } catch (...) {
  }
}

// A list file we could not read may be damaged in a single byte; it is kept beside the new
// one instead of being replaced, under the first free name. One we may not even read (its
// mode took our right away) cannot be copied: it is moved aside instead, which also keeps
// the new list from taking over that mode. Where neither works the new list replaces it all
// the same: a list that could never be saved again would lose every change from then on.
void TToDoForm::KeepUnreadableFile(const std::filesystem::path& listFile) {
  platform::Files& files = platform_.FileSystem();
  if (!files.FileExists(listFile)) return;
  std::filesystem::path kept = listFile;
  kept += unreadableSuffix;
  for (int number = 2; files.FileExists(kept); ++number) {
    kept = listFile;
    kept += std::string(unreadableSuffix) + "." + std::to_string(number);
  }
  try {
    files.Copy(listFile, kept);
    return;
  } catch (...) {
    RemoveIncompleteFile(kept);  // a copy that stopped midway
  }
  try {
    files.Rename(listFile, kept);
  } catch (...) {
  }
}

void TToDoForm::ShowSaveError(bool writeProtectionFailed) {
  const std::u16string file = ListFile().u16string();
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
