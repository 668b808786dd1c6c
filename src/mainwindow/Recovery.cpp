// The recovery journal beside the list file: every change is on the disk within a second, so
// that a crash, a kill or a power cut loses nothing, while ToDoList.xml itself is still
// written only when the window closes. A clean end removes the journal; a start that finds
// one applies it to the list it belongs to.
#include <algorithm>
#include <utility>

#include "mainwindow/ListFileNames.h"
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {
namespace {

constexpr int flushDelayMs = 500;
// The journal is written anew as one snapshot when it has grown past twice the list.
constexpr std::uint64_t journalSlack = 1 << 20;

std::filesystem::path WithSuffix(std::filesystem::path path, std::string_view suffix) {
  path += suffix;
  return path;
}

}  // namespace

std::filesystem::path TToDoForm::RecoveryFile() const { return WithSuffix(ListFile(), recoverySuffix); }

// At start, after the list is loaded: a journal left by an unclean end is applied to the list
// it belongs to, or kept aside. One that another running Tasklane holds is left alone.
void TToDoForm::RecoverAtStart() {
  platform::Files& files = platform_.FileSystem();
  const std::filesystem::path journal = RecoveryFile();
  try {
    if (!files.FileExists(journal)) return;
    if (!TakeRecoveryLock()) return;
    JournalContent content;
    std::uint64_t journalBytes = 0;
    try {
      const std::string bytes = files.ReadWhole(journal);
      journalBytes = bytes.size();
      content = ReadJournal(bytes);
    } catch (...) {
      KeepRecoveryAside(EnglishUI ? u"cannot be read" : u"kann nicht gelesen werden", ".unreadable");
      return;
    }
    if (content.list != recovery_.list) {
      KeepRecoveryAside(EnglishUI ? u"belongs to another ToDoList.xml" : u"geh\u00f6rt zu einer anderen ToDoList.xml",
                        ".unused");
      return;
    }
    ApplyJournal(content, recovery_.list.size + journalBytes);
    AddRecoveryNotice(EnglishUI ? u"Tasklane did not close properly last time. Your changes since then have been restored."
                                : u"Tasklane wurde zuletzt nicht richtig beendet. Ihre \u00c4nderungen seitdem wurden "
                                  u"wiederhergestellt.");
    // Written anew: a journal cut short at its end would hide whatever came after the cut.
    recovery_.broken = true;
    WriteRecoverySnapshot();
  } catch (...) {
    recovery_.broken = true;
    RecoveryWriteFailed();
  }
}

bool TToDoForm::TakeRecoveryLock() {
  if (recovery_.lock) return true;
  recovery_.lock = platform_.FileSystem().TryLock(WithSuffix(RecoveryFile(), lockSuffix));
  recovery_.refused = !recovery_.lock;
  return !recovery_.refused;
}

// Kept under the first free name beside the list, never deleted unread.
void TToDoForm::KeepRecoveryAside(std::u16string_view why, std::string_view suffix) {
  platform::Files& files = platform_.FileSystem();
  std::filesystem::path kept = WithSuffix(RecoveryFile(), suffix);
  for (int number = 2; files.FileExists(kept); ++number) {
    kept = WithSuffix(RecoveryFile(), std::string(suffix) + "." + std::to_string(number));
  }
  try {
    files.Rename(RecoveryFile(), kept);
  } catch (...) {
    // It stays where it is, untouched: this run keeps no journal rather than write over it.
    kept = RecoveryFile();
    recovery_.refused = true;
  }
  AddRecoveryNotice((EnglishUI ? u"Tasklane did not close properly last time, but its recovery file "
                               : u"Tasklane wurde zuletzt nicht richtig beendet, aber seine Wiederherstellungsdatei ") +
                    std::u16string(why) +
                    (EnglishUI ? u". It was not applied and has been kept as:\r\n"
                               : u". Sie wurde nicht angewendet und liegt jetzt hier:\r\n") +
                    kept.u16string());
}

// Frames and rows in their order; the skin and the window's place once, from the last frame.
void TToDoForm::ApplyJournal(const JournalContent& content, std::uint64_t bytes) {
  const ListFrame* last = nullptr;
  for (const JournalRecord& record : content.records) {
    if (const auto* row = std::get_if<RowTexts>(&record)) {
      ApplyRow(*row);
    } else {
      last = &std::get<ListFrame>(record);
      ApplyShape(*last, bytes);
    }
  }
  if (last) ApplyPlace(*last);
}

// A row beyond the table was never written; one there now is a damaged journal's.
void TToDoForm::ApplyRow(const RowTexts& row) {
  if (row.row < 0 || row.row >= ToDoGrid.RowCount()) return;
  std::vector<std::u16string_view> cells(row.cells.begin(), row.cells.end());
  ToDoGrid.SetRowCells(row.row, cells);
}

// Counts hold only within what the list and the journal could hold, as for a list file. Rows
// and columns the frame drops are emptied, as removing them empties them: a row added again
// later must not bring back texts the list no longer had.
void TToDoForm::ApplyShape(const ListFrame& frame, std::uint64_t bytes) {
  const std::int64_t cells = std::int64_t{std::max(frame.rowCount, 1)} * std::max(frame.colCount, 1);
  if (cells <= std::max<std::int64_t>(smallestCellBudget, static_cast<std::int64_t>(bytes) / bytesPerCell)) {
    const int rows = ToDoGrid.RowCount();
    const int cols = ToDoGrid.ColCount();
    for (int row = std::max(frame.rowCount, 1); row < rows; ++row) {
      for (int col = 0; col < cols; ++col) ToDoGrid.SetCell(col, row, u"");
    }
    for (int col = std::max(frame.colCount, 1); col < cols; ++col) {
      for (int row = 0; row < std::min(rows, frame.rowCount); ++row) ToDoGrid.SetCell(col, row, u"");
    }
    ToDoGrid.SetRowCount(frame.rowCount);
    ToDoGrid.SetColCount(frame.colCount);
  }
  ResizeColumnAlignments();
  for (int col = 0; col < std::min<int>(ToDoGrid.ColCount(), static_cast<int>(frame.colWidths.size())); ++col) {
    ToDoGrid.SetColWidth(col, std::clamp(frame.colWidths[static_cast<std::size_t>(col)], 2, maxPixels));
  }
  for (std::size_t col = 0; col < std::min(Values.ColumnAlignments.size(), frame.alignments.size()); ++col) {
    Values.ColumnAlignments[col] = static_cast<TCellAlignment>(std::min<std::uint8_t>(frame.alignments[col], ALIGNRIGHT));
  }
  SetHeaderTextBold(frame.headerBold);
  SetDrawGridLines(frame.gridLines);
}

// The skin, and the window's place where the screens still show it, as loading checks it.
void TToDoForm::ApplyPlace(const ListFrame& frame) {
  Values.CurrentSkinName = frame.skinName;
  Values.CurrentSkinPath = frame.skinPath;
  if (frame.skinName != u"No Skin" &&
      platform_.FileSystem().FolderExists(std::filesystem::path(frame.skinPath + frame.skinName))) {
    loadSkin();
  }
  const int width = std::clamp(frame.width, Values.FoldedClientWidth, maxPixels);
  const int height = std::clamp(frame.height, 50, maxPixels);
  const platform::Rect desktop = platform_.VirtualDesktop();
  const bool inside = desktop.left - width < frame.left && frame.left < desktop.right - 10 &&
                      desktop.top - height < frame.top && frame.top < desktop.bottom - 10;
  SetBounds(inside ? frame.left : Left(), inside ? frame.top : Top(), width, height);
}

ListFrame TToDoForm::CurrentFrame() {
  ListFrame frame;
  frame.rowCount = ToDoGrid.RowCount();
  frame.colCount = ToDoGrid.ColCount();
  for (int col = 0; col < frame.colCount; ++col) frame.colWidths.push_back(ToDoGrid.ColWidth(col));
  ResizeColumnAlignments();
  frame.alignments.assign(Values.ColumnAlignments.begin(), Values.ColumnAlignments.end());
  frame.headerBold = HeaderTextBold();
  frame.gridLines = DrawGridLines();
  frame.skinName = Values.CurrentSkinName;
  frame.skinPath = Values.CurrentSkinPath;
  const platform::Rect window = KeptWindowRect();
  frame.left = window.left, frame.top = window.top, frame.width = window.Width(), frame.height = window.Height();
  return frame;
}

// From the end of start-up on, what the table and the window hold is what the journal
// compares against.
void TToDoForm::StartRecording() {
  recovery_.written = CurrentFrame();
  recovery_.recording = true;
}

// Something the list file keeps may have changed: a row's texts (its number) or anything else
// (-1). The journal gets it on a short timer, which runs only while a change waits.
void TToDoForm::RecordChange(int row) {
  if (!recovery_.recording || recovery_.refused) return;
  if (row >= 0) recovery_.changedRows.insert(row);
  if (recovery_.flushPending) return;
  recovery_.flushPending = true;
  platform_.SetTimer(recoveryTimerId, flushDelayMs, true);
}

void TToDoForm::FlushRecovery() {
  platform_.SetTimer(recoveryTimerId, flushDelayMs, false);
  recovery_.flushPending = false;
  if (!recovery_.recording || recovery_.refused) return;
  try {
    const std::uint64_t list = std::max(recovery_.list.size, recovery_.snapshotBytes);
    if (recovery_.broken || recovery_.journalBytes > 2 * list + journalSlack) {
      WriteRecoverySnapshot();
      return;
    }
    AppendChanges();
  } catch (...) {
    recovery_.broken = true;
    RecoveryWriteFailed();
  }
  if (!recovery_.closing) Unguarded([&] { ShowRecoveryNotice(); });
}

// The frame when it changed, and each changed row's cells; the first changes of a run make
// the journal, behind a header that names the list it applies to.
void TToDoForm::AppendChanges() {
  const ListFrame frame = CurrentFrame();
  std::string records = recovery_.written == frame ? std::string() : FrameRecord(frame);
  std::vector<std::u16string_view> cells;
  for (const int row : recovery_.changedRows) {
    if (row >= frame.rowCount) continue;  // beyond the table: not kept by the list either
    ToDoGrid.RowCells(row, cells);
    records += RowRecord(row, cells);
  }
  if (records.empty()) return;
  if (!recovery_.started) {
    PrepareRecoveryFolder();
    if (!TakeRecoveryLock()) return;
    // A journal that came after the start is another run's (a Tasklane that ended since):
    // the next start applies it or keeps it aside; this run writes nothing over it.
    if (platform_.FileSystem().FileExists(RecoveryFile())) {
      recovery_.refused = true;
      return;
    }
    records = JournalHeader(recovery_.list) + records;
  }
  platform_.FileSystem().AppendDurably(RecoveryFile(), records);
  recovery_.started = true;
  recovery_.journalBytes += records.size();
  recovery_.written = frame;
  recovery_.changedRows.clear();
}

// The whole list as one journal, put in the old one's place in one step.
void TToDoForm::WriteRecoverySnapshot() {
  PrepareRecoveryFolder();
  if (!TakeRecoveryLock()) return;
  platform::Files& files = platform_.FileSystem();
  const ListFrame frame = CurrentFrame();
  const std::filesystem::path temporary = WithSuffix(RecoveryFile(), ".new");
  std::uint64_t written = 0;
  files.WriteWhole(temporary, [&](const platform::Files::ByteWriter& write) {
    auto put = [&](const std::string& bytes) {
      write(bytes);
      written += bytes.size();
    };
    put(JournalHeader(recovery_.list));
    put(FrameRecord(frame));
    std::vector<std::u16string_view> cells;
    for (int row = 0; row < frame.rowCount; ++row) {
      ToDoGrid.RowCells(row, cells);
      put(RowRecord(row, cells));
    }
  });
  try {
    files.Replace(temporary, RecoveryFile());
  } catch (const platform::UnconfirmedReplaceError&) {
  }
  recovery_.started = true;
  recovery_.broken = false;
  recovery_.journalBytes = written;
  recovery_.snapshotBytes = written;
  recovery_.written = frame;
  recovery_.changedRows.clear();
}

// The data folder of an installed program is made on first use, as for the list.
void TToDoForm::PrepareRecoveryFolder() {
  if (Values.ListFolder != Values.ProgramFolder) platform_.FileSystem().CreatePrivateFolder(Values.ListFolder.parent_path());
}

// The list is saved: nothing is left to recover.
// Only a journal this run wrote itself goes. The lock file stays: removed, a Tasklane that
// opened it a moment before would hold a lock on a file nobody else can find.
void TToDoForm::EndRecovery() {
  recovery_.recording = false;
  if (!recovery_.lock || !recovery_.started || recovery_.refused) return;
  try {
    platform_.FileSystem().Delete(RecoveryFile());
  } catch (...) {
  }
  recovery_.lock.reset();
}

// Once a run, not at every change: the program goes on as before without it.
void TToDoForm::RecoveryWriteFailed() {
  if (recovery_.failureShown) return;
  recovery_.failureShown = true;
  AddRecoveryNotice((EnglishUI ? u"Tasklane cannot write its recovery file:\r\n"
                               : u"Tasklane kann seine Wiederherstellungsdatei nicht schreiben:\r\n") +
                    RecoveryFile().u16string() +
                    (EnglishUI ? u"\r\nYour list is still saved when Tasklane closes, but a crash would lose the "
                                 u"changes since it started."
                               : u"\r\nIhre Liste wird beim Beenden trotzdem gespeichert, ein Absturz w\u00fcrde aber "
                                 u"die \u00c4nderungen seit dem Start verlieren."));
}

void TToDoForm::AddRecoveryNotice(const std::u16string& text) {
  if (!recovery_.notice.empty()) recovery_.notice += u"\r\n\r\n";
  recovery_.notice += text;
}

void TToDoForm::ShowRecoveryNotice() {
  if (recovery_.notice.empty() || !recovery_.windowShown) return;
  const std::u16string notice = std::exchange(recovery_.notice, {});
  SetTopMost(false);
  platform_.ShowMessage(caption, notice, platform::MessageIcon::Information, platform::MessageButtons::Ok, true);
  SetTopMost(true);
}

}  // namespace tasklane::mainwindow
