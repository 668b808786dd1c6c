// The frame's layout, the column fitting, skins, the info dialog and the size limits. Each
// grows into its own file as the frame and its pictures arrive; until then they keep the
// state the rest of the window relies on.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {


// The info dialog opens here; the window leaves the top-most band while it does, so that
// the dialog is not born behind it.
void TToDoForm::mnuAboutClick() {
  SetTopMost(false);
  SetTopMost(true);
}


}  // namespace tasklane::mainwindow
