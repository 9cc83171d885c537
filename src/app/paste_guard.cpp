#include "app/paste_guard.h"

#include "platform/text_clipboard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace tvx {
namespace {

bool IsTextEdit(const QObject* Object) {
    return qobject_cast<const QPlainTextEdit*>(Object) != nullptr ||
           qobject_cast<const QTextEdit*>(Object) != nullptr;
}

// The clipboard a paste key reads: the selection for Ctrl+Shift+Insert where
// the system has one, as Qt's text boxes decide.
QClipboard::Mode PasteKeyMode(const QKeyEvent& Key) {
    const bool selection = Key.key() == Qt::Key_Insert &&
                           Key.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) &&
                           QGuiApplication::clipboard()->supportsSelection();
    return selection ? QClipboard::Selection : QClipboard::Clipboard;
}

bool IsMiddleButton(const QEvent& Event) {
    switch (Event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return static_cast<const QMouseEvent&>(Event).button() == Qt::MiddleButton;
    default:
        return false;
    }
}

} // namespace

TPasteGuard::TPasteGuard(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
    // The clipboard can empty while a context menu is open: its owner exits.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &TPasteGuard::DisableOpenPasteItems);
}

bool TPasteGuard::IsTextBox(const QObject* Object) {
    if (qobject_cast<const QLineEdit*>(Object) != nullptr ||
        qobject_cast<const QAbstractSpinBox*>(Object) != nullptr || IsTextEdit(Object)) {
        return true;
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(Object)) {
        return combo->isEditable();
    }
    const auto* widget = qobject_cast<const QWidget*>(Object);
    const auto* area = widget != nullptr
                           ? qobject_cast<const QAbstractScrollArea*>(widget->parentWidget())
                           : nullptr;
    return area != nullptr && area->viewport() == widget && IsTextEdit(area);
}

bool TPasteGuard::IsPasteItem(const QAction* Item) {
    // Text edits name their items; line edits only show the key beside them.
    static const QString key =
        u'\t' + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    return Item->objectName() == QLatin1String("edit-paste") || Item->text().endsWith(key);
}

void TPasteGuard::DisablePasteItems(QMenu& Menu) {
    for (QAction* item : Menu.actions()) {
        if (IsPasteItem(item)) {
            item->setEnabled(false);
        }
    }
}

void TPasteGuard::DisableOpenPasteItems() {
    if (!SystemClipboardEmpty()) {
        return;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* menu = qobject_cast<QMenu*>(window); menu != nullptr && menu->isVisible()) {
            DisablePasteItems(*menu);
        }
    }
}

bool TPasteGuard::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*Event);
        return key.matches(QKeySequence::Paste) && IsTextBox(Watched) &&
               SystemClipboardEmpty(PasteKeyMode(key));
    }
    if (IsMiddleButton(*Event)) {
        return IsTextBox(Watched) && SystemClipboardEmpty(QClipboard::Selection);
    }
    if (Event->type() == QEvent::Show) {
        if (auto* menu = qobject_cast<QMenu*>(Watched); menu != nullptr && SystemClipboardEmpty()) {
            DisablePasteItems(*menu);
        }
    }
    return false;
}

} // namespace tvx
