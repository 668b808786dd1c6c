// The frame's layout, the column fitting, skins, the info dialog and the size limits. Each
// grows into its own file as the frame and its pictures arrive; until then they keep the
// state the rest of the window relies on.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {


void TToDoForm::FindStartSkin() {}

void TToDoForm::LoadSkin() {}

void TToDoForm::mnuAboutClick() {}

void TToDoForm::ImageRedButtonAufklapperClick() { ClearGridSelection(); }

void TToDoForm::SizeLimits(platform::Size& minimum, platform::Size& /*maximum*/) {
  Guarded(u"GetMinMaxInfo", Team::Development, [&] { minimum = {10, 10}; });
}

}  // namespace tasklane::mainwindow
