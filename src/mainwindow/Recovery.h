// What the main window keeps for its recovery journal over a run.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "mainwindow/RecoveryJournal.h"
#include "platform/Files.h"

namespace tasklane::mainwindow {

struct RecoveryState {
  std::unique_ptr<platform::FileLock> lock;
  bool recording = false;  // start-up is over: every change goes to the journal
  bool refused = false;    // another Tasklane keeps this list's journal
  bool started = false;    // the journal exists, header and all
  bool broken = false;     // a write failed: the next one writes the journal anew
  bool failureShown = false;
  bool flushPending = false;  // the flush timer runs
  ListFingerprint list;  // ToDoList.xml as it was read at start
  std::optional<platform::FileStamp> listStamp;  // and its stamp, or that of the last save
  bool listSaved = false;                        // this run wrote the list file
  bool windowShown = false;  // notices wait for it
  bool closing = false;     // the close query flushes: no box may hold it up
  std::uint64_t journalBytes = 0;
  std::uint64_t snapshotBytes = 0;  // the last time the journal was written whole
  std::optional<ListFrame> written;  // the frame as the journal has it
  std::set<int> changedRows;         // rows whose texts the journal does not have yet
  std::u16string notice;             // shown once the window shows
};

}  // namespace tasklane::mainwindow
