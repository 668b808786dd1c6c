// The table's steps for undo and redo: what each one changed, enough to take it back and to do
// it again.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tasklane::mainwindow {

// A cell's text: typed between opening and closing its editor, or a whole-cell command.
struct CellStep {
  int col = 0;
  int row = 0;
  std::u16string before;
  std::u16string after;
};

// A row or a column added or removed, always the last one; a removed one keeps its texts
// (and a column its alignment).
struct LineStep {
  bool column = false;
  bool added = true;
  std::vector<std::u16string> cells;
  std::uint8_t alignment = 0;
};

struct AlignmentStep {
  int col = 0;
  std::uint8_t before = 0;
  std::uint8_t after = 0;
};

using TableStep = std::variant<CellStep, LineStep, AlignmentStep>;

class History {
 public:
  // A new step ends the ones to redo; the oldest go beyond `maxSteps`.
  void Record(TableStep step);
  // The step to take back, now one to redo; and the other way.
  std::optional<TableStep> TakeUndo() { return Move(undo_, redo_); }
  std::optional<TableStep> TakeRedo() { return Move(redo_, undo_); }

  static constexpr std::size_t maxSteps = 1000;

 private:
  static std::optional<TableStep> Move(std::deque<TableStep>& from, std::deque<TableStep>& to);
  std::deque<TableStep> undo_;
  std::deque<TableStep> redo_;
};

}  // namespace tasklane::mainwindow
