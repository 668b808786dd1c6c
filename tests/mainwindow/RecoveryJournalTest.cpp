// The recovery journal's bytes: what is written comes back, and a journal cut or damaged
// anywhere gives exactly the records before the damage.
#include <gtest/gtest.h>

#include "mainwindow/RecoveryJournal.h"

namespace tasklane::mainwindow {
namespace {

ListFrame SomeFrame() {
  ListFrame frame;
  frame.rowCount = 4;
  frame.colCount = 2;
  frame.colWidths = {50, 235};
  frame.alignments = {1, 2};
  frame.headerBold = true;
  frame.gridLines = false;
  frame.skinName = u"Blue \u00fc";
  frame.skinPath = u"/skins/";
  frame.left = -20, frame.top = 10, frame.width = 370, frame.height = 211;
  return frame;
}

struct Written {
  std::string bytes;
  std::vector<std::size_t> recordEnds;
  std::vector<JournalRecord> records;
};

Written SomeJournal() {
  Written w;
  w.bytes = JournalHeader(FingerprintOf("<ToDoList/>"));
  const std::u16string_view cells[] = {u"a", u"", u"\U0001F600 & <x>"};
  w.records = {SomeFrame(), RowTexts{3, {u"a", u"", u"\U0001F600 & <x>"}}};
  w.bytes += FrameRecord(SomeFrame());
  w.recordEnds.push_back(w.bytes.size());
  w.bytes += RowRecord(3, cells);
  w.recordEnds.push_back(w.bytes.size());
  return w;
}

TEST(RecoveryJournal, WhatIsWrittenComesBack) {
  const Written w = SomeJournal();
  const JournalContent content = ReadJournal(w.bytes);
  EXPECT_EQ(content.list, FingerprintOf("<ToDoList/>"));
  EXPECT_EQ(content.records, w.records);
  EXPECT_NE(FingerprintOf("<ToDoList/>"), FingerprintOf("<ToDoList/ >"));
  EXPECT_NE(FingerprintOf("12345678abc"), FingerprintOf("12345678abd"));
  EXPECT_FALSE(ReadJournal(JournalHeader({})).list.exists);
}

TEST(RecoveryJournal, ACutAtAnyByteKeepsTheCompleteRecords) {
  const Written w = SomeJournal();
  const std::size_t headerEnd = JournalHeader({}).size();
  for (std::size_t cut = 0; cut < w.bytes.size(); ++cut) {
    const std::string_view bytes = std::string_view(w.bytes).substr(0, cut);
    if (cut < headerEnd) {
      EXPECT_THROW(ReadJournal(bytes), JournalError) << cut;
      continue;
    }
    std::size_t complete = 0;
    while (complete < w.recordEnds.size() && w.recordEnds[complete] <= cut) ++complete;
    EXPECT_EQ(ReadJournal(bytes).records.size(), complete) << cut;
  }
}

// A byte changed anywhere, as a disk may return after a power cut, ends the journal at the
// record it lies in.
TEST(RecoveryJournal, ADamagedRecordEndsTheJournalThere) {
  const Written w = SomeJournal();
  const std::size_t headerEnd = JournalHeader({}).size();
  for (std::size_t at = 0; at < w.bytes.size(); ++at) {
    std::string bytes = w.bytes;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x5a);
    if (at < headerEnd) {
      EXPECT_THROW(ReadJournal(bytes), JournalError) << at;
      continue;
    }
    const std::size_t kept = at < w.recordEnds[0] ? 0 : 1;
    EXPECT_EQ(ReadJournal(bytes).records.size(), kept) << at;
  }
}

}  // namespace
}  // namespace tasklane::mainwindow
