#pragma once
// Pictures of the standard tool buttons: the desktop's icon theme where it
// has the action, otherwise a small drawing of our own.
#include <QIcon>

namespace tvx {

enum class TToolIcon {
    New,
    Open,
    Save,
    SaveAs,
    Import,
    Reimport,
    ExportImage,
    ExportCode,
    Undo,
    Redo,
    Refresh,
    ZoomIn,
    ZoomOut,
    Origin,
    Options,
    Help,
};

QIcon ToolIcon(TToolIcon Icon);
// Always the drawing of our own (the tests and screenshots look at these).
QIcon DrawnToolIcon(TToolIcon Icon);

} // namespace tvx
