#include "app/cursors.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>

// Resources of a static library are registered by hand; the name is the
// .qrc file's base name.
static void InitTarvinexResources() {
    Q_INIT_RESOURCE(tarvinex);
}

namespace tvx {
namespace {

struct TCursorFile {
    int Id;
    const char* Resource;
};

constexpr TCursorFile CursorFiles[] = {
    {crAddBlock, "cur_add"},   {crDeleteBlock, "cur_del"}, {crHand, "CUR_VEER"},
    {crHandGrab, "CUR_KULAK"}, {crEditText, "cur_FC"},
};

struct TRegistered {
    QPixmap Picture;
    QPoint HotSpot;
};

QMap<int, TRegistered>& Registry() {
    static QMap<int, TRegistered> registry;
    return registry;
}

// The hot spot of an XPM picture: the fifth and sixth number of its values
// line ("32 32 3 1 16 14"), (0, 0) when the line has none.
QPoint XpmHotSpot(const QByteArray& text) {
    static const QRegularExpression values(QStringLiteral(
        "\"\\s*(\\d+)\\s+(\\d+)\\s+(\\d+)\\s+(\\d+)(?:\\s+(\\d+)\\s+(\\d+))?\\s*\""));
    QRegularExpressionMatch m = values.match(QString::fromLatin1(text));
    if (!m.hasMatch() || m.captured(5).isEmpty()) {
        return QPoint(0, 0);
    }
    return QPoint(m.captured(5).toInt(), m.captured(6).toInt());
}

} // namespace

void RegisterCursors() {
    InitTarvinexResources();
    for (const TCursorFile& file : CursorFiles) {
        const QString path = QStringLiteral(":/cursors/%1.xpm").arg(QLatin1String(file.Resource));
        QFile xpm(path);
        QPixmap picture(path, "XPM");
        if (picture.isNull() || !xpm.open(QIODevice::ReadOnly)) {
            continue;
        }
        Registry().insert(file.Id, {picture, XpmHotSpot(xpm.readAll())});
    }
}

bool CursorRegistered(int Id) {
    return Registry().contains(Id);
}

QCursor ChartCursor(int Id) {
    auto it = Registry().constFind(Id);
    if (it == Registry().constEnd()) {
        return QCursor(Qt::ArrowCursor);
    }
    return QCursor(it->Picture, it->HotSpot.x(), it->HotSpot.y());
}

QPixmap CursorPicture(int Id) {
    return Registry().value(Id).Picture;
}

} // namespace tvx
