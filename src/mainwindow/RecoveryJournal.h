// The recovery journal's bytes: what the list has become since ToDoList.xml was read, kept
// beside it so that a crash, a kill or a power cut loses nothing. A header names the list
// file the journal started from; then come records, each whole or ignored: every record
// carries its length and a check of its bytes, so a journal cut at any byte still gives all
// the records before the cut.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tasklane::mainwindow {

// Which ToDoList.xml a journal belongs to: its size and a hash of its bytes, or none at all.
struct ListFingerprint {
  bool exists = false;
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  friend bool operator==(const ListFingerprint&, const ListFingerprint&) = default;
};
ListFingerprint FingerprintOf(std::string_view listFileBytes);

// Everything the list holds besides its cells, written whole whenever any of it changes.
struct ListFrame {
  int rowCount = 1;
  int colCount = 1;
  std::vector<int> colWidths;
  std::vector<std::uint8_t> alignments;
  bool headerBold = false;
  bool gridLines = true;
  std::u16string skinName;
  std::u16string skinPath;
  int left = 0, top = 0, width = 0, height = 0;  // the window as the list file keeps it
  friend bool operator==(const ListFrame&, const ListFrame&) = default;
};

// The texts of one row's cells, all of them.
struct RowTexts {
  int row = 0;
  std::vector<std::u16string> cells;
  friend bool operator==(const RowTexts&, const RowTexts&) = default;
};

using JournalRecord = std::variant<ListFrame, RowTexts>;

// Bytes that are no journal of ours, or one whose header is damaged.
class JournalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string JournalHeader(const ListFingerprint& list);
std::string FrameRecord(const ListFrame& frame);
std::string RowRecord(int row, std::span<const std::u16string_view> cells);

struct JournalContent {
  ListFingerprint list;
  std::vector<JournalRecord> records;  // the complete ones, in order
};
// Throws JournalError when even the header cannot be read.
JournalContent ReadJournal(std::string_view bytes);

}  // namespace tasklane::mainwindow
