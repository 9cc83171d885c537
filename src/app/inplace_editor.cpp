#include "app/inplace_editor.h"
#include "app/interface_texts.h"

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "settings/main_settings.h"
#include "settings/string_pool.h"

#include <QStringList>
#include <algorithm>

namespace tvx {
namespace {

// Measures on a scratch picture, as the layout measures block texts.
class TScratchCanvas {
public:
    explicit TScratchCanvas(const TFont& Font) {
        if (MainSettings != nullptr) {
            Picture.SetPixelFormat(TPixelFormat(MainSettings->PixelFormat));
        }
        Picture.Canvas().Font = Font;
    }
    TSize Extent(const QString& Text) { return Picture.Canvas().TextExtent(Text); }

private:
    TBitmap Picture;
};

} // namespace

TSize TextToBitMap(const QString& Text, const TFont& Font) {
    TScratchCanvas canvas(Font);
    const QStringList lines = EditorTextOf(Text).split(u'\n');
    TSize size;
    int lineHeight = 0;
    for (const QString& line : lines + QStringList{ServText("sm_yes"), ServText("sm_no")}) {
        const TSize extent = canvas.Extent(line);
        size.Width = std::max(size.Width, extent.Width);
        lineHeight = std::max(lineHeight, extent.Height);
    }
    size.Height = std::max(int(lines.size()), 1) * lineHeight;
    return size;
}

TSize InPlaceEditorSize(const QString& Text, const TFont& Font) {
    const TSize picture = TextToBitMap(Text, Font);
    const TSize a = TScratchCanvas(Font).Extent(QStringLiteral("a"));
    return {std::max(picture.Width, a.Width) + a.Width,
            std::max(picture.Height, a.Height) + a.Height + a.Height / 2};
}

int TypedTextWidth(const QString& Typed, const TFont& Font) {
    return TScratchCanvas(Font).Extent(Typed).Width;
}

QString BlockTextOf(const QString& EditorText) {
    QString text = EditorText;
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

QString EditorTextOf(const QString& BlockText) {
    QString text = BlockText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(u'\r', u'\n');
}

} // namespace tvx
