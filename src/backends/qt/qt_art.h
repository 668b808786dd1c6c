// The built-in artwork as Qt pictures: the menu pictures and the program's icon.
#pragma once

#include <QIcon>
#include <string_view>

namespace tasklane::qt {

// The picture of that file name in the built-in art; a null icon when there is none.
QIcon ArtIcon(std::u16string_view fileName);

// The program's icon at every size it is drawn in.
QIcon ProgramIcon();

}  // namespace tasklane::qt
