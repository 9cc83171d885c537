#pragma once
// The chart view of a chart window: shows the window's composed chart
// picture at the window's scroll offset and zoom, and hands pointer and
// wheel input to the window.
#include <QWidget>

namespace tvx {

class TMDIChild;

class TChartView : public QWidget {
    Q_OBJECT
public:
    TChartView(TMDIChild& Owner, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    TMDIChild& Owner;
    int WheelRemainder = 0;
};

} // namespace tvx
