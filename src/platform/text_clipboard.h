#pragma once
// The system clipboard in text form. The application uses the system one;
// tests install an in-memory clipboard so that they neither read nor change
// what the user has copied, and need no display.
#include <QClipboard>
#include <QString>

namespace tvx {

class TTextClipboard {
public:
    virtual ~TTextClipboard() = default;
    // The text on the clipboard; empty when it holds no text.
    virtual QString Text() const = 0;
    virtual void SetText(const QString& Text) = 0;
};

// The clipboard of the windowing system. Needs a running QGuiApplication.
class TSystemTextClipboard : public TTextClipboard {
public:
    QString Text() const override;
    void SetText(const QString& Text) override;
};

// A clipboard that lives in the process only.
class TMemoryTextClipboard : public TTextClipboard {
public:
    QString Text() const override { return Held; }
    void SetText(const QString& Text) override { Held = Text; }

private:
    QString Held;
};

// True when the windowing system's clipboard (or its selection) holds no
// data at all: no owner, or an owner that offers no format. Qt's own text
// boxes must not be asked to paste then.
bool SystemClipboardEmpty(QClipboard::Mode Mode = QClipboard::Clipboard);

// The clipboard in use: the system one unless another is installed.
TTextClipboard& TextClipboard();

// Installs Clipboard (not owned; nullptr goes back to the system one) and
// returns the one installed before.
TTextClipboard* SetTextClipboard(TTextClipboard* Clipboard);

// Installs an in-memory clipboard for the lifetime of the scope.
class TMemoryTextClipboardScope : public TMemoryTextClipboard {
public:
    TMemoryTextClipboardScope() : Previous(SetTextClipboard(this)) {}
    ~TMemoryTextClipboardScope() override { SetTextClipboard(Previous); }
    TMemoryTextClipboardScope(const TMemoryTextClipboardScope&) = delete;
    TMemoryTextClipboardScope& operator=(const TMemoryTextClipboardScope&) = delete;

private:
    TTextClipboard* Previous;
};

} // namespace tvx
