#pragma once
// The chart view's own cursors, registered at start under their ids. The
// pictures are XPM files of the resources; each file's hot spot is the one
// its header gives.
#include <QCursor>
#include <QPixmap>

namespace tvx {

enum TCursorId : int {
    crAddBlock = 100,
    crDeleteBlock = 101,
    crHand = 102,
    crHandGrab = 103,
    crEditText = 104,
};

// Loads the five cursors; a picture that cannot be loaded leaves its id
// unregistered. Needs a running QGuiApplication.
void RegisterCursors();
bool CursorRegistered(int Id);
// The registered cursor of Id, or the arrow when there is none.
QCursor ChartCursor(int Id);
// The picture of the cursor (an empty pixmap when unregistered); the tool
// buttons of the modes show it.
QPixmap CursorPicture(int Id);

} // namespace tvx
