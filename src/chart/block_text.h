#pragma once
// The text of a block. A chart file is XML 1.0, which cannot hold the
// control characters other than tab and the line breaks, nor U+FFFE, U+FFFF
// or half of a surrogate pair: a text holding one would lose it in the next
// save or undo snapshot without a word. So such characters never enter a
// block text: whatever sets it (an import, typing, the in-place editor, a
// paste, a file) goes through this type, which puts the character's control
// picture in place of a control character (U+2401 for U+0001, U+2400 for
// U+0000) and U+FFFD in place of the others. The user sees the text as the
// file keeps it, and the code written from the chart holds the same.
#include <QString>
#include <utility>

namespace tvx {

// Text with every character a chart file cannot hold replaced as above;
// Text itself (not copied) when it holds none.
QString StorableText(const QString& Text);

class TBlockText : public QString {
public:
    TBlockText() = default;
    TBlockText(const QString& Text) : QString(StorableText(Text)) {}
    TBlockText& operator=(const QString& Text) {
        QString::operator=(StorableText(Text));
        return *this;
    }
    TBlockText& operator+=(const QString& More) { return *this = *this + More; }

    // QString's own ways of adding characters would pass by the replacement.
    template <typename... TArgs> void append(TArgs&&...) = delete;
    template <typename... TArgs> void prepend(TArgs&&...) = delete;
    template <typename... TArgs> void insert(TArgs&&...) = delete;
    template <typename... TArgs> void replace(TArgs&&...) = delete;
    template <typename... TArgs> void fill(TArgs&&...) = delete;
};

} // namespace tvx
