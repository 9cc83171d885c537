#pragma once
// The undo history of one chart window: the names of its snapshot files
// (chart XML), oldest first, and the position of the snapshot the chart shows.
#include <QString>
#include <QStringList>

namespace tvx {

class TFCList;

class TUndoHistory {
public:
    TUndoHistory() = default;
    // Deletes every snapshot file still listed.
    ~TUndoHistory();
    TUndoHistory(const TUndoHistory&) = delete;
    TUndoHistory& operator=(const TUndoHistory&) = delete;

    QStringList UndoList; // snapshot file names, oldest first
    int UndoIndex = 0;    // the snapshot the chart shows now

    // Snapshot file names are Directory + Number + "undo_" + position + Extension.
    // An empty Directory (none private to this run could be made) keeps the
    // history off: nothing is written, listed or undone.
    void SetNaming(const QString& Directory, int Number, const QString& Extension);
    void SetNaming(const QString& Directory, const QString& Number, const QString& Extension);
    // A fresh history named like this one, with Number in place of its own.
    void NameLike(const TUndoHistory& Other, const QString& Number);
    // Exchanges the whole state (snapshots, position, naming) with Other.
    void SwapWith(TUndoHistory& Other);
    // The name the next snapshot gets.
    QString NextName() const;

    // Drops the snapshots after UndoIndex (an edit after undo discards them),
    // deleting their files; then writes Chart as the next snapshot (a chart
    // without blocks writes no file, the entry is still listed) and makes it
    // the current one. Returns why the file could not be written, empty when
    // it was.
    QString Append(const TFCList& Chart);

    // Forgets every snapshot and deletes its file, then writes Chart as the
    // only one (after a save the history starts at the saved chart).
    QString Restart(const TFCList& Chart);

    bool Enabled() const { return !Directory.isEmpty(); }
    bool CanUndo() const { return UndoIndex > 0 && UndoIndex < UndoList.size(); }
    bool CanRedo() const { return UndoIndex + 1 < UndoList.size(); }
    // Steps back or forward and reloads the chart from that snapshot. Refused
    // (false, nothing changed) at either end of the history. A snapshot that
    // cannot be read is reported by the chart reader and leaves the chart as
    // it was; the position has moved all the same.
    bool Undo(TFCList& Chart);
    bool Redo(TFCList& Chart);

    // Deletes every listed file that still exists and empties the list.
    void DeleteFiles();

private:
    void Load(TFCList& Chart) const;

    QString Directory;
    QString Number = QStringLiteral("0");
    QString Extension = QStringLiteral(".fc2");
};

} // namespace tvx
