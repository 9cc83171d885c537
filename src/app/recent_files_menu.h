#pragma once
// The recent-files entries of the File menu. The menu's own layout is New,
// Open, Save as, Save, a separator, a separator and Exit; the entries go
// between the first separator and a separator before Exit, the oldest first
// and the newest just above Exit.
#include <functional>

class QMenu;

namespace tvx {

class TListOpenedFiles;

// Number of items of the File menu without recent-file entries.
constexpr int FileMenuFixedItems = 7;

// Rebuilds the entries from the list: caption the short name, status tip the
// full name, OnClick called with the entry's index in the list.
void RebuildRecentFiles(QMenu& File1, const TListOpenedFiles& Files,
                        const std::function<void(int Tag)>& OnClick);

} // namespace tvx
