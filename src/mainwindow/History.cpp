#include "mainwindow/History.h"

#include <utility>

namespace tasklane::mainwindow {

void History::Record(TableStep step) {
  redo_.clear();
  if (undo_.size() == maxSteps) undo_.pop_front();
  undo_.push_back(std::move(step));
}

std::optional<TableStep> History::Move(std::deque<TableStep>& from, std::deque<TableStep>& to) {
  if (from.empty()) return std::nullopt;
  TableStep step = std::move(from.back());
  from.pop_back();
  to.push_back(step);
  return step;
}

}  // namespace tasklane::mainwindow
