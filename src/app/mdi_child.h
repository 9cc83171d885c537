#pragma once
// A chart window: one chart shown in the middle, the generated code of it on
// the right, the imported source text on the left and, below the chart, one
// tab per chart of an import. Lives inside the main window's document area
// and frees itself when closed, deleting its undo snapshots.
#include "app/undo_history.h"
#include "chart/mouse_info.h"
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <memory>

class QMenu;
class QAction;
class QPainter;
class QPlainTextEdit;
class QScrollBar;
class QSplitter;
class QTabBar;

namespace tvx {

class TBitmap;
class TChartCollection;
class TChartView;
class TFCList;
class TFocusedPanel;
class TMainForm;

class TMDIChild : public QWidget {
    Q_OBJECT
public:
    explicit TMDIChild(TMainForm& MainForm);
    ~TMDIChild() override;

    // --- components ---
    QSplitter* Splitter1 = nullptr; // source pane | view | code pane
    QPlainTextEdit* mmInputCode = nullptr;
    QPlainTextEdit* reCode = nullptr;
    TFocusedPanel* PanelPaint = nullptr;
    TChartView* pbOut = nullptr;
    QPlainTextEdit* mmInput = nullptr;    // in-place text editor, hidden
    QPlainTextEdit* mmComments = nullptr; // comment memo, hidden
    QScrollBar* ScrollBar1 = nullptr;     // vertical
    QScrollBar* ScrollBar2 = nullptr;     // horizontal
    QWidget* Panel1 = nullptr;            // holds ScrollBar2 and Panel2
    QWidget* Panel2 = nullptr;
    QTabBar* TabSet1 = nullptr;
    QMenu* PopupFlow = nullptr;
    QAction *N2 = nullptr, *N1 = nullptr, *N6 = nullptr, *N7 = nullptr, *N8 = nullptr,
            *fordownto1 = nullptr, *While1 = nullptr, *N9 = nullptr, *Paste1 = nullptr,
            *N13 = nullptr, *N3 = nullptr, *N10 = nullptr, *N11 = nullptr;

    // --- fields ---
    std::unique_ptr<TBitmap> ChartBitmap; // the composed chart, chart coordinates
    TFCList* Chart = nullptr;             // the chart shown now
    std::unique_ptr<TChartCollection> ParseResult;
    TMouseInfo MouseInfo{0};
    int EditIndex = 0;
    int MouseX = 0, MouseY = 0;
    int DragStartX = 0, DragStartY = 0;
    int DragScrollX = 0, DragScrollY = 0;
    int ScrollX = 0, ScrollY = 0; // view position of the picture's top left
    std::uint16_t Zoom = 100;     // percent
    bool HitTestEnabled = true;
    TUndoHistory History; // UndoList, UndoIndex
    QStringList CodeBuffer1, CodeBuffer2;
    int ChartNumber = 0;

    // The chart's file name, shown as the window title.
    QString Caption() const;
    void SetCaption(const QString& Name);

    // The window's own chart (new, opened): replaces whatever it showed.
    void SetOwnChart(std::unique_ptr<TFCList> NewChart);
    // The charts of an import on the tabs, chart 0 shown; the window keeps
    // the collection.
    void SetParseResult(std::unique_ptr<TChartCollection> Result);

    // Lays the chart out, composes ChartBitmap and redraws the view.
    void RePaintChem();
    // Redraws the view from ChartBitmap at the scroll offset and zoom.
    void PaintChem();
    // What the view's paint does: the picture at the offset and zoom on white.
    void PaintView(QPainter& Painter, const QRect& Clip);

    // Chart length to view length at this window's zoom and back, rounded to
    // the nearest integer, halves to even.
    int Zooming(int V) const;
    int UnZooming(int V) const;

    // Shows chart NewTab of the import on the tabs.
    void TabSet1Change(int NewTab);
    void ScrollBar1Change(int Position);
    void ScrollBar2Change(int Position);
    // One wheel notch: 10 view pixels, horizontal with Shift.
    void FormMouseWheelDown(bool Shift);
    void FormMouseWheelUp(bool Shift);
    // Scroll-bar ranges from the picture and view sizes; positions from the offset.
    void UpdateScrollRanges();
    void pbOutMouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers, QPoint At);

    // Popup captions from the main window's current texts.
    void LocalizeMenus();
    // The code pane shows CodeBuffer2 in the export font.
    void ShowCode();
    // The source pane shows the text of the file (empty when it cannot be read).
    void LoadSource(const QString& FileName);

    TMainForm& MainForm() const { return Main; }

private:
    void BuildLayout();
    void BuildPopupFlow();
    int PictureWidth() const;
    int PictureHeight() const;

    TMainForm& Main;
    std::unique_ptr<TFCList> OwnChart;
};

} // namespace tvx
