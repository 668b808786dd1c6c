// The close saves the list over ToDoList.xml; when the file there is no longer the one that
// was loaded (a sync client brought another computer's version, or another program wrote it
// meanwhile), that version is kept beside it first, and the next start says where.
#include <cstdio>

#include "mainwindow/ListFileNames.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {
namespace {

std::u16string TimeText(const platform::LocalTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d-%02d", time.year, time.month, time.day, time.hour,
                time.minute);
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

std::filesystem::path KeptNotes(const std::filesystem::path& listFile) {
  std::filesystem::path notes = listFile;
  notes += keptSuffix;
  return notes;
}

}  // namespace

// Taken before the file is read: a change between the two then shows as a changed stamp.
void TToDoForm::NoteLoadedList(const std::filesystem::path& file) {
  recovery_.listStamp = file == ListFile() ? platform_.FileSystem().Stamp(file) : std::nullopt;
}

// The same stamp is the same file, and costs the close nothing more; another stamp with the
// bytes that were loaded is only touched. A version that cannot be kept stops the save, which
// then keeps both it and the journal.
void TToDoForm::KeepVersionChangedElsewhere(const std::filesystem::path& target) {
  platform::Files& files = platform_.FileSystem();
  const std::optional<platform::FileStamp> stamp = files.Stamp(target);
  if (!stamp || stamp == recovery_.listStamp) return;
  const std::string bytes = files.ReadWhole(target);
  if (!recovery_.listSaved && FingerprintOf(bytes) == recovery_.list) return;
  const std::u16string name = std::u16string(EnglishUI ? u"ToDoList (changed elsewhere " : u"ToDoList (anderswo ge\u00e4ndert ") +
                              TimeText(platform_.LocalNow()) + u")";
  std::filesystem::path kept = target.parent_path() / (name + u".xml");
  for (int number = 2; files.FileExists(kept); ++number) {
    kept = target.parent_path() / (name + u" (" + DecimalText(number) + u").xml");
  }
  try {
    files.WriteWhole(kept, bytes);
  } catch (...) {
    RemoveIncompleteFile(kept);
    throw;
  }
  const std::u8string line = kept.u8string() + u8"\n";
  try {
    files.AppendDurably(KeptNotes(ListFile()), std::string_view(reinterpret_cast<const char*>(line.data()), line.size()));
  } catch (...) {
    // The version is kept all the same; only the next start will not point at it.
  }
}

// After a save: the file there is ours, whose bytes were never read back.
void TToDoForm::NoteSavedList(const std::filesystem::path& target) {
  recovery_.listStamp = platform_.FileSystem().Stamp(target);
  recovery_.listSaved = true;
}

// One notice for every version the last closes kept.
void TToDoForm::ReportKeptVersions() {
  platform::Files& files = platform_.FileSystem();
  const std::filesystem::path notes = KeptNotes(ListFile());
  std::string bytes;
  try {
    if (!files.FileExists(notes)) return;
    bytes = files.ReadWhole(notes);
    files.Delete(notes);
  } catch (...) {
    return;
  }
  std::u16string paths;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    if (end > start) {
      const std::u8string line(reinterpret_cast<const char8_t*>(bytes.data() + start), end - start);
      paths += u"\r\n" + std::filesystem::path(line).u16string();
    }
    start = end + 1;
  }
  if (paths.empty()) return;
  AddRecoveryNotice((EnglishUI ? u"When Tasklane closed last time, ToDoList.xml had been changed by another program or "
                                 u"on another computer. Your list was saved, and the other version has been kept as:"
                               : u"Beim letzten Beenden von Tasklane war ToDoList.xml von einem anderen Programm oder "
                                 u"auf einem anderen Computer ge\u00e4ndert worden. Ihre Liste wurde gespeichert, die "
                                 u"andere Fassung liegt jetzt hier:") +
                    paths);
}

}  // namespace tasklane::mainwindow
