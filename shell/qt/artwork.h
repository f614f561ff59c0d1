#pragma once
// The program's own pictures, drawn by code: the toolbar strip, the ten
// images of the item tree, and the program icon.

#include <QIcon>

namespace korvane {

// Toolbar images 0..8: sheet of text, hand sending a sheet, open folder, red
// cross, calculator, padlock, magnifier, closed folder, crossed tools.
QIcon ToolbarImage(int index);

// Tree images 0..9: program, folder, matrix, memory backup, picture, second
// picture, list, raw item, other kinds, text item.
QIcon TreeImage(int index);

QIcon ProgramIcon();

// The cursors of a drag in the item tree: an arrow with a small sheet when
// the item may be dropped, with a red barred circle when it may not.
QPixmap DragCursor(bool mayDrop);

}  // namespace korvane
