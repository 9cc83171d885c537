#include "app/recent_files_menu.h"

#include "settings/opened_files.h"

#include <QAction>
#include <QMenu>

namespace tvx {
namespace {

constexpr int FirstEntry = 5; // after New, Open, Save as, Save and a separator

} // namespace

void RebuildRecentFiles(QMenu& File1, const TListOpenedFiles& Files,
                        const std::function<void(int Tag)>& OnClick) {
    // Drops the old entries with their closing separator (on the first build
    // the second separator of the menu's own layout).
    while (File1.actions().size() >= FileMenuFixedItems) {
        QAction* old = File1.actions().at(FirstEntry);
        File1.removeAction(old);
        old->deleteLater(); // it may be the entry whose click runs this
    }
    for (int i = 0; i < Files.GetCount(); ++i) {
        auto* entry = new QAction(Files.GetShortName(i), &File1);
        entry->setStatusTip(Files.Get(i));
        entry->setToolTip(Files.Get(i));
        entry->setData(i);
        QObject::connect(entry, &QAction::triggered, &File1, [OnClick, i] { OnClick(i); });
        // Each insertion pushes the earlier ones down: the newest ends up last.
        File1.insertAction(File1.actions().at(FirstEntry), entry);
    }
    auto* separator = new QAction(&File1);
    separator->setSeparator(true);
    File1.insertAction(File1.actions().constLast(), separator);
}

} // namespace tvx
