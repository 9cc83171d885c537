#pragma once
// Pointer input on a chart window's view for GUI tests: points of blocks in
// view pixels (through the window's zoom and scroll offset), moves, clicks
// and double clicks as the windowing system delivers them.
#include "app/chart_view.h"
#include "app/mdi_child.h"
#include "chart/fc_list.h"
#include "platform/bitmap.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <algorithm>
#include <vector>

// View point of a chart point.
inline QPoint ViewPoint(const tvx::TMDIChild& Child, int X, int Y) {
    return {Child.Zooming(X) + Child.ScrollX, Child.Zooming(Y) + Child.ScrollY};
}

// View point of the middle of a rectangle in chart coordinates.
inline QPoint ViewPoint(const tvx::TMDIChild& Child, const tvx::TRect& R) {
    return ViewPoint(Child, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

namespace chart_pointer_detail {

// True when the hit test reaches rectangle Stage of Block (0 the element, 1
// the node, 2 + j branch j) before any other rectangle holds the point.
inline bool ReachedFirst(const tvx::TFCList& Chart, int Block, int Stage, tvx::TPoint P) {
    for (int i = 0; i <= Block; ++i) {
        const tvx::TFlowBlock& b = *Chart.GetBlock(i);
        std::vector<tvx::TRect> rects{b.InRect, b.OutRect};
        for (int j = 0; j < b.ItemCount(); ++j) {
            rects.push_back(b.GetItemRect(j));
        }
        const int last = i < Block ? int(rects.size()) : Stage;
        for (int k = 0; k < last; ++k) {
            if (tvx::PtInRect(rects[k], P)) {
                return false;
            }
        }
    }
    return true;
}

// A view point of rectangle Stage of Block that the hit test gives to it,
// with its neighbours, so that rounding at any zoom keeps it there, as near
// the middle as can be; (-1, -1) when there is none.
inline QPoint PointOf(const tvx::TMDIChild& Child, int Block, int Stage) {
    const tvx::TFCList& chart = *Child.Chart;
    const tvx::TFlowBlock& b = *chart.GetBlock(Block);
    const tvx::TRect r = Stage == 0 ? b.InRect : Stage == 1 ? b.OutRect : b.GetItemRect(Stage - 2);
    // Which points of the rectangle (and a margin of 2 around it) fit.
    const int w = r.Right - r.Left + 4;
    const int h = r.Bottom - r.Top + 4;
    std::vector<char> fit(size_t(std::max(w, 0)) * size_t(std::max(h, 0)));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const tvx::TPoint p{r.Left - 2 + x, r.Top - 2 + y};
            fit[size_t(y) * w + x] = tvx::PtInRect(r, p) && ReachedFirst(chart, Block, Stage, p);
        }
    }
    auto fits = [&](int x, int y) { return fit[size_t(y - r.Top + 2) * w + (x - r.Left + 2)]; };
    // The fitting point nearest to the middle whose neighbours fit too.
    const int cx = (r.Left + r.Right) / 2;
    const int cy = (r.Top + r.Bottom) / 2;
    QPoint best(-1, -1);
    long long bestDistance = -1;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            bool roomy = true;
            for (int dy = -2; dy <= 2 && roomy; ++dy) {
                for (int dx = -2; dx <= 2 && roomy; ++dx) {
                    roomy = fits(x + dx, y + dy);
                }
            }
            const long long distance = 1LL * (x - cx) * (x - cx) + 1LL * (y - cy) * (y - cy);
            if (roomy && (bestDistance < 0 || distance < bestDistance)) {
                best = QPoint(x, y);
                bestDistance = distance;
            }
        }
    }
    return best.x() < 0 ? best : ViewPoint(Child, best.x(), best.y());
}

} // namespace chart_pointer_detail

// View points where the hit test finds the element, the node after, or
// branch Branch of a block.
inline QPoint ElementOf(const tvx::TMDIChild& Child, int Block) {
    return chart_pointer_detail::PointOf(Child, Block, 0);
}

inline QPoint NodeOf(const tvx::TMDIChild& Child, int Block) {
    return chart_pointer_detail::PointOf(Child, Block, 1);
}

inline QPoint BranchOf(const tvx::TMDIChild& Child, int Block, int Branch) {
    return chart_pointer_detail::PointOf(Child, Block, 2 + Branch);
}

// A view point right of the chart picture, where nothing can be hit.
inline QPoint Nowhere(const tvx::TMDIChild& Child) {
    return ViewPoint(Child, Child.ChartBitmap->Width() + 40, 5);
}

inline void MoveTo(tvx::TMDIChild& Child, QPoint At, Qt::MouseButtons Buttons = Qt::NoButton,
                   Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QMouseEvent move(QEvent::MouseMove, At, Child.pbOut->mapToGlobal(At), Qt::NoButton, Buttons,
                     Modifiers);
    QApplication::sendEvent(Child.pbOut, &move);
}

// The pointer comes to the point, then the button goes down and up.
inline void ClickAt(tvx::TMDIChild& Child, QPoint At,
                    Qt::KeyboardModifiers Modifiers = Qt::NoModifier,
                    Qt::MouseButton Button = Qt::LeftButton) {
    MoveTo(Child, At, Qt::NoButton, Modifiers);
    QTest::mouseClick(Child.pbOut, Button, Modifiers, At);
}

// Press, release, the double-click press and release, as a person's double
// click arrives.
inline void DoubleClickAt(tvx::TMDIChild& Child, QPoint At) {
    ClickAt(Child, At);
    QTest::mouseDClick(Child.pbOut, Qt::LeftButton, Qt::NoModifier, At);
    QTest::mouseRelease(Child.pbOut, Qt::LeftButton, Qt::NoModifier, At);
}
