#include "app/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tvx {
namespace {

constexpr int Size = 24;
const QColor Ink(48, 56, 72);
const QColor Paper(252, 252, 250);
const QColor Blue(52, 101, 164);
const QColor LightBlue(170, 200, 235);
const QColor Green(78, 154, 6);
const QColor Red(204, 0, 0);
const QColor Yellow(237, 212, 0);
const QColor Folder(233, 185, 110);

QPen InkPen(qreal width = 1.2, QColor color = Ink) {
    QPen pen(color, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void Page(QPainter& p, QRectF r = QRectF(4.5, 2.5, 14, 19)) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 4, r.top());
    path.lineTo(r.right(), r.top() + 4);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(InkPen());
    p.setBrush(Paper);
    p.drawPath(path);
    p.drawPolyline(QPolygonF(
        {{r.right() - 4, r.top()}, {r.right() - 4, r.top() + 4}, {r.right(), r.top() + 4}}));
}

void Lines(QPainter& p, qreal x, qreal y, int count, qreal width) {
    p.setPen(InkPen(1, QColor(136, 138, 133)));
    for (int i = 0; i < count; ++i) {
        p.drawLine(QPointF(x, y + 3 * i), QPointF(x + width - (i % 2) * 3, y + 3 * i));
    }
}

void Arrow(QPainter& p, QPointF from, QPointF to, QColor color) {
    p.setPen(InkPen(2.2, color));
    p.drawLine(from, to);
    QLineF back(to, from);
    back.setLength(5);
    QLineF left = back, right = back;
    left.setAngle(back.angle() + 35);
    right.setAngle(back.angle() - 35);
    p.setBrush(color);
    p.setPen(InkPen(1, color));
    p.drawPolygon(QPolygonF({to, left.p2(), right.p2()}));
}

void CurvedArrow(QPainter& p, bool toLeft, QColor color) {
    QPainterPath path;
    if (toLeft) {
        path.moveTo(19, 18);
        path.cubicTo(21, 9, 13, 5, 6, 9.5);
    } else {
        path.moveTo(5, 18);
        path.cubicTo(3, 9, 11, 5, 18, 9.5);
    }
    p.setPen(InkPen(2.4, color));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(InkPen(1, color));
    p.setBrush(color);
    if (toLeft) {
        p.drawPolygon(QPolygonF({{2.5, 11.5}, {9, 5}, {9.5, 14}}));
    } else {
        p.drawPolygon(QPolygonF({{21.5, 11.5}, {15, 5}, {14.5, 14}}));
    }
}

void Floppy(QPainter& p, QRectF r) {
    p.setPen(InkPen());
    p.setBrush(Blue);
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setBrush(Paper);
    p.drawRect(QRectF(r.left() + 3, r.top() + 0.5, r.width() - 6, r.height() * 0.42));
    p.setBrush(QColor(211, 215, 207));
    p.drawRect(QRectF(r.left() + 4, r.bottom() - r.height() * 0.38, r.width() - 8,
                      r.height() * 0.38 - 0.5));
}

void Magnifier(QPainter& p, bool plus) {
    p.setPen(InkPen(3, Ink));
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
    p.setPen(InkPen(1.6, Ink));
    p.setBrush(QColor(230, 240, 252));
    p.drawEllipse(QPointF(10, 10), 7, 7);
    p.setPen(InkPen(2, Blue));
    p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
    if (plus) {
        p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
    }
}

void Gear(QPainter& p) {
    p.setPen(InkPen(1.2));
    p.setBrush(QColor(186, 189, 182));
    QPainterPath gear;
    const QPointF c(12, 12);
    for (int i = 0; i < 8; ++i) {
        QLineF ray(c, c + QPointF(10, 0));
        ray.setAngle(i * 45.0);
        QLineF a = ray, b = ray;
        a.setAngle(ray.angle() - 11);
        b.setAngle(ray.angle() + 11);
        QLineF a2 = a, b2 = b;
        a2.setLength(7);
        b2.setLength(7);
        if (i == 0) {
            gear.moveTo(a2.p2());
        } else {
            gear.lineTo(a2.p2());
        }
        gear.lineTo(a.p2());
        gear.lineTo(b.p2());
        gear.lineTo(b2.p2());
    }
    gear.closeSubpath();
    p.drawPath(gear);
    p.setBrush(Paper);
    p.drawEllipse(c, 3, 3);
}

void DrawIcon(QPainter& p, TToolIcon icon) {
    switch (icon) {
    case TToolIcon::New:
        Page(p);
        p.setPen(InkPen(1, Yellow.darker(130)));
        p.setBrush(Yellow);
        p.drawEllipse(QPointF(17.5, 18), 4, 4);
        break;
    case TToolIcon::Open: {
        p.setPen(InkPen());
        p.setBrush(Folder.darker(115));
        p.drawPolygon(
            QPolygonF({{2.5, 5.5}, {9, 5.5}, {11, 7.5}, {20.5, 7.5}, {20.5, 19.5}, {2.5, 19.5}}));
        p.setBrush(Folder);
        p.drawPolygon(QPolygonF({{5.5, 10.5}, {22.5, 10.5}, {19.5, 19.5}, {2.5, 19.5}}));
        break;
    }
    case TToolIcon::Save:
        Floppy(p, QRectF(3.5, 3.5, 17, 17));
        break;
    case TToolIcon::SaveAs:
        Floppy(p, QRectF(2.5, 2.5, 15, 15));
        p.setPen(InkPen(1));
        p.setBrush(Yellow);
        p.drawPolygon(QPolygonF({{12, 21}, {13, 17.5}, {20, 10.5}, {22.5, 13}, {15.5, 20}}));
        break;
    case TToolIcon::Import:
        Page(p, QRectF(8.5, 2.5, 13, 19));
        Lines(p, 11, 9, 4, 7);
        Arrow(p, QPointF(1.5, 12), QPointF(11, 12), Green);
        break;
    case TToolIcon::Reimport:
        Page(p, QRectF(3.5, 2.5, 13, 19));
        Lines(p, 6, 8, 4, 7);
        p.setPen(InkPen(1, Green.darker(120)));
        p.setBrush(Green);
        p.drawEllipse(QPointF(17, 17), 5.5, 5.5);
        p.setPen(InkPen(1.8, Paper));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(14, 14, 6, 6), 90 * 16, 270 * 16);
        break;
    case TToolIcon::ExportImage:
        p.setPen(InkPen());
        p.setBrush(Paper);
        p.drawRect(QRectF(2.5, 4.5, 19, 15));
        p.setBrush(LightBlue);
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(3.5, 5.5, 17.5, 13.5));
        p.setBrush(Green);
        p.drawPolygon(QPolygonF({{3.5, 19}, {9, 11}, {13, 16}, {16, 13}, {21, 19}}));
        p.setBrush(Yellow);
        p.drawEllipse(QPointF(16.5, 8.5), 2, 2);
        break;
    case TToolIcon::ExportCode: {
        Page(p);
        QFont font;
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Blue);
        p.drawText(QRectF(4.5, 8, 14, 12), Qt::AlignCenter, QStringLiteral("{ }"));
        break;
    }
    case TToolIcon::Undo:
        CurvedArrow(p, true, Blue);
        break;
    case TToolIcon::Redo:
        CurvedArrow(p, false, Blue);
        break;
    case TToolIcon::Refresh: {
        p.setPen(InkPen(2.4, Green));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 4, 16, 16), 100 * 16, 280 * 16);
        p.setPen(InkPen(1, Green));
        p.setBrush(Green);
        p.drawPolygon(QPolygonF({{10.5, 1}, {10.5, 8.5}, {15.5, 4}}));
        break;
    }
    case TToolIcon::ZoomIn:
        Magnifier(p, true);
        break;
    case TToolIcon::ZoomOut:
        Magnifier(p, false);
        break;
    case TToolIcon::Origin:
        p.setPen(InkPen(1.4, Ink));
        p.drawLine(QPointF(4.5, 3), QPointF(4.5, 21));
        p.drawLine(QPointF(3, 4.5), QPointF(21, 4.5));
        Arrow(p, QPointF(19, 19), QPointF(7.5, 7.5), Red);
        break;
    case TToolIcon::Options:
        Gear(p);
        break;
    case TToolIcon::Help: {
        p.setPen(InkPen(1.2, Blue.darker(130)));
        p.setBrush(Blue);
        p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        QFont font;
        font.setPixelSize(15);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Paper);
        p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
}

const char* ThemeName(TToolIcon icon) {
    switch (icon) {
    case TToolIcon::New:
        return "document-new";
    case TToolIcon::Open:
        return "document-open";
    case TToolIcon::Save:
        return "document-save";
    case TToolIcon::SaveAs:
        return "document-save-as";
    case TToolIcon::Import:
        return "document-import";
    case TToolIcon::Reimport:
        return "view-refresh";
    case TToolIcon::ExportImage:
        return "image-x-generic";
    case TToolIcon::ExportCode:
        return "text-x-generic";
    case TToolIcon::Undo:
        return "edit-undo";
    case TToolIcon::Redo:
        return "edit-redo";
    case TToolIcon::Refresh:
        return "view-refresh";
    case TToolIcon::ZoomIn:
        return "zoom-in";
    case TToolIcon::ZoomOut:
        return "zoom-out";
    case TToolIcon::Origin:
        return "go-home";
    case TToolIcon::Options:
        return "preferences-system";
    case TToolIcon::Help:
        return "help-contents";
    }
    return "";
}

} // namespace

QIcon DrawnToolIcon(TToolIcon Icon) {
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawIcon(p, Icon);
    p.end();
    return QIcon(pixmap);
}

QIcon ToolIcon(TToolIcon Icon) {
    // Re-import and refresh would look alike in most themes; ours tell them apart.
    if (Icon == TToolIcon::Reimport) {
        return DrawnToolIcon(Icon);
    }
    return QIcon::fromTheme(QString::fromLatin1(ThemeName(Icon)), DrawnToolIcon(Icon));
}

} // namespace tvx
