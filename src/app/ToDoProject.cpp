#include "app/ToDoProject.h"

#include <string>

namespace tasklane::app {
namespace {

constexpr std::u16string_view mutexName = u"ToDoMutex";
// Window texts are read into buffers that hold 254 characters and the terminator.
constexpr std::size_t windowTextLimit = 254;

std::u16string_view Truncated(const std::u16string& text) {
  return std::u16string_view(text).substr(0, windowTextLimit);
}

}  // namespace

bool AnotherInstanceTakesOver(platform::Platform& platform) {
  platform::InstanceLock lock = platform::InstanceLock::Failed;
  try {
    lock = platform.CreateInstanceLock(mutexName);
  } catch (...) {
    return false;  // no lock, no check: the program starts normally
  }
  if (lock != platform::InstanceLock::AlreadyExists) return false;
  try {
    platform.CloseInstanceLock();
    for (const platform::TopLevelWindow& window : platform.TopLevelWindows()) {
      if (!platform.SameTextIgnoringCase(Truncated(window.className), mainwindow::TToDoForm::className)) continue;
      if (!platform.SameTextIgnoringCase(Truncated(window.title), mainwindow::TToDoForm::caption)) continue;
      platform.ShowNormalAndForeground(window.id);
      return true;
    }
  } catch (...) {
    // A failing walk leaves the start to go on, beside the other instance.
  }
  return false;
}

int RunTasklane(platform::Platform& platform, const std::function<void(mainwindow::TToDoForm&)>& messageLoop,
                bool englishUI) {
  if (AnotherInstanceTakesOver(platform)) return 0;
  mainwindow::TToDoForm form(platform, englishUI);
  form.FormCreate();
  // Entering the loop shows the window, whatever became of the start-up; the start timer's
  // first tick then decides whether it stays.
  platform.ShowWindow(platform::WindowShow::Show);
  messageLoop(form);
  return 0;
}

}  // namespace tasklane::app
