// The program's entry, for every front end: one instance per logon session, then the main
// window and the message loop.
#pragma once

#include <functional>

#include "mainwindow/ToDoUnit.h"
#include "platform/Platform.h"

namespace tasklane::app {

// Runs before any window of this process exists. True when another instance holds the lock
// and its window was brought to the front: this process then ends with exit code 0.
bool AnotherInstanceTakesOver(platform::Platform& platform);

// The whole run: the single-instance guard, the main window's start-up, then `messageLoop`,
// which the front end runs until the program is asked to end. The window is shown as the
// loop is entered. Returns the exit code.
int RunTasklane(platform::Platform& platform, const std::function<void(mainwindow::TToDoForm&)>& messageLoop,
                bool englishUI = mainwindow::buildEnglishUI);

}  // namespace tasklane::app
