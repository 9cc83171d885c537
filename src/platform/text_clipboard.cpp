#include "platform/text_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tvx {
namespace {

TSystemTextClipboard SystemClipboard;
TTextClipboard* Current = nullptr;

} // namespace

QString TSystemTextClipboard::Text() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard != nullptr ? clipboard->text() : QString();
}

void TSystemTextClipboard::SetText(const QString& Text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(Text);
    }
}

bool SystemClipboardEmpty(QClipboard::Mode Mode) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData(Mode) : nullptr;
    return data == nullptr || data->formats().isEmpty();
}

TTextClipboard& TextClipboard() {
    return Current != nullptr ? *Current : SystemClipboard;
}

TTextClipboard* SetTextClipboard(TTextClipboard* Clipboard) {
    TTextClipboard* previous = Current;
    Current = Clipboard;
    return previous;
}

} // namespace tvx
