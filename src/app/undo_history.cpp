#include "app/undo_history.h"

#include "chart/chart_xml.h"
#include "chart/fc_list.h"

#include <QFile>
#include <utility>

namespace tvx {

TUndoHistory::~TUndoHistory() {
    DeleteFiles();
}

void TUndoHistory::SetNaming(const QString& directory, int number, const QString& extension) {
    SetNaming(directory, QString::number(number), extension);
}

void TUndoHistory::SetNaming(const QString& directory, const QString& number,
                             const QString& extension) {
    Directory = directory;
    Number = number;
    Extension = extension;
}

void TUndoHistory::NameLike(const TUndoHistory& Other, const QString& number) {
    SetNaming(Other.Directory, number, Other.Extension);
}

void TUndoHistory::SwapWith(TUndoHistory& Other) {
    UndoList.swap(Other.UndoList);
    std::swap(UndoIndex, Other.UndoIndex);
    Directory.swap(Other.Directory);
    Number.swap(Other.Number);
    Extension.swap(Other.Extension);
}

QString TUndoHistory::NextName() const {
    return Directory + Number + QStringLiteral("undo_") + QString::number(UndoList.size()) +
           Extension;
}

QString TUndoHistory::Append(const TFCList& Chart) {
    if (!Enabled()) {
        return QString();
    }
    while (UndoList.size() > UndoIndex + 1 && !UndoList.isEmpty()) {
        QFile::remove(UndoList.takeLast());
    }
    const QString name = NextName();
    UndoList.append(name);
    UndoIndex = int(UndoList.size()) - 1;
    if (Chart.Count() == 0) {
        return QString();
    }
    try {
        SaveToXML(Chart, name);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

QString TUndoHistory::Restart(const TFCList& Chart) {
    DeleteFiles();
    UndoIndex = 0;
    return Append(Chart);
}

bool TUndoHistory::Undo(TFCList& Chart) {
    if (!CanUndo()) {
        return false;
    }
    --UndoIndex;
    Load(Chart);
    return true;
}

bool TUndoHistory::Redo(TFCList& Chart) {
    if (!CanRedo()) {
        return false;
    }
    ++UndoIndex;
    Load(Chart);
    return true;
}

void TUndoHistory::Load(TFCList& Chart) const {
    LoadFromXML(Chart, UndoList.at(UndoIndex));
}

void TUndoHistory::DeleteFiles() {
    for (const QString& name : std::as_const(UndoList)) {
        if (QFile::exists(name)) {
            QFile::remove(name);
        }
    }
    UndoList.clear();
    UndoIndex = 0;
}

} // namespace tvx
