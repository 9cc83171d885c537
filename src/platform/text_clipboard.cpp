#include "platform/text_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

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

TTextClipboard& TextClipboard() {
    return Current != nullptr ? *Current : SystemClipboard;
}

TTextClipboard* SetTextClipboard(TTextClipboard* Clipboard) {
    TTextClipboard* previous = Current;
    Current = Clipboard;
    return previous;
}

} // namespace tvx
