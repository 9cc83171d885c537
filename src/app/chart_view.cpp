#include "app/chart_view.h"

#include "app/mdi_child.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace tvx {

TChartView::TChartView(TMDIChild& Owner, QWidget* parent) : QWidget(parent), Owner(Owner) {
    setObjectName(QStringLiteral("pbOut"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void TChartView::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    Owner.PaintView(painter, e->rect());
}

void TChartView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Owner.UpdateScrollRanges();
}

void TChartView::wheelEvent(QWheelEvent* e) {
    // Some platforms turn a Shift+wheel into a horizontal wheel; both mean
    // the same here.
    QPoint delta = e->angleDelta();
    bool horizontal = e->modifiers().testFlag(Qt::ShiftModifier) || delta.y() == 0;
    // Fine-grained wheels send parts of a notch; a notch (120) moves once.
    WheelRemainder += delta.y() != 0 ? delta.y() : delta.x();
    for (; WheelRemainder <= -120; WheelRemainder += 120) {
        Owner.FormMouseWheelDown(horizontal);
    }
    for (; WheelRemainder >= 120; WheelRemainder -= 120) {
        Owner.FormMouseWheelUp(horizontal);
    }
    e->accept();
}

void TChartView::mouseMoveEvent(QMouseEvent* e) {
    Owner.pbOutMouseMove(e->buttons(), e->modifiers(), e->position().toPoint());
}

void TChartView::mousePressEvent(QMouseEvent* e) {
    Owner.pbOutMouseDown(e->button(), e->buttons(), e->modifiers(), e->position().toPoint(), false);
}

void TChartView::mouseReleaseEvent(QMouseEvent*) {
    Owner.pbOutMouseUp();
}

void TChartView::mouseDoubleClickEvent(QMouseEvent* e) {
    // The second press of the pair comes first, so that an editor the double
    // click opens keeps the keyboard focus.
    Owner.pbOutMouseDown(e->button(), e->buttons(), e->modifiers(), e->position().toPoint(), true);
    if (e->button() == Qt::LeftButton) {
        Owner.pbOutDblClick();
    }
}

} // namespace tvx
