#pragma once
// Keeps every text box of the program (the panes and editors of the chart
// windows, the help panel, the dialogs, the zoom box, and Qt's own file and
// font dialogs) from pasting while the system clipboard is empty. Qt 6.4
// crashes when a text box pastes a clipboard whose owner offers no format (a
// fresh session, or after the program that copied last has exited), and a
// one-line box would lose its selected text to the empty paste.
#include <QObject>

class QAction;
class QMenu;

namespace tvx {

// Watches the whole application: paste keys and middle clicks on a text box
// are dropped while the clipboard they would read is empty, and the paste
// items of open context menus are disabled while the clipboard is empty.
class TPasteGuard : public QObject {
    Q_OBJECT
public:
    // Installs itself on the running application; removed when destroyed.
    explicit TPasteGuard(QObject* parent = nullptr);

    // True for a widget that pastes text on a paste key or a middle click:
    // line and text edits, spin boxes, editable combo boxes, and the
    // viewport of a text edit (which gets its mouse events).
    static bool IsTextBox(const QObject* Object);
    // True for the Paste item of a text box's context menu.
    static bool IsPasteItem(const QAction* Item);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    static void DisablePasteItems(QMenu& Menu);
    static void DisableOpenPasteItems();
};

} // namespace tvx
