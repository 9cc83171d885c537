#pragma once
// A chart window: one chart shown in the middle, the generated code of it on
// the right, the imported source text on the left and, below the chart, one
// tab per chart of an import. Lives inside the main window's document area
// and frees itself when closed, deleting its undo snapshots. The chart is
// edited with the pointer (tool modes of the main window), two popup menus,
// four keys and an in-place text editor.
#include "app/chart_file_state.h"
#include "app/undo_history.h"
#include "chart/block_kind.h"
#include "chart/mouse_info.h"
#include "platform/rect.h"
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
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
class TChartComposition;
class TChartCollection;
class TChartView;
class TFCList;
class TFlowBlock;
class TFocusedPanel;
class TMainForm;
struct TEventKeyBoardArgs;

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
    // The popup over anything but an element: adding (submenu N2), paste,
    // tool modes, refresh, close.
    QMenu *PopupFlow = nullptr, *N2 = nullptr;
    QAction *N1 = nullptr, *N6 = nullptr, *N7 = nullptr, *N8 = nullptr, *fordownto1 = nullptr,
            *While1 = nullptr, *N9 = nullptr, *Paste1 = nullptr, *N13 = nullptr, *N3 = nullptr,
            *N10 = nullptr, *N11 = nullptr;
    // The popup over a block's element: kind changes, block and text clipboard.
    QMenu *PopupShakes = nullptr, *N17 = nullptr, *ifelse1 = nullptr, *N28 = nullptr;
    QAction *N18 = nullptr, *N19 = nullptr, *N20 = nullptr, *N21 = nullptr, *N22 = nullptr,
            *if1 = nullptr, *YesCenter1 = nullptr, *YesRight1 = nullptr, *NoLeft1 = nullptr,
            *NoCenter1 = nullptr, *else1 = nullptr, *fordo1 = nullptr, *whiledo = nullptr,
            *repeatuntil1 = nullptr, *N35 = nullptr, *N34 = nullptr, *N15 = nullptr, *N14 = nullptr,
            *N29 = nullptr, *N30 = nullptr, *N25 = nullptr, *N24 = nullptr, *N26 = nullptr,
            *N31 = nullptr, *N23 = nullptr;
    // The popup the view opens: chosen on every pointer move.
    QMenu* ViewPopup = nullptr;

    // --- fields ---
    // The chart picture, chart coordinates, composed band by band as the view
    // shows it (ComposedChart for all of it).
    std::unique_ptr<TBitmap> ChartBitmap;
    std::unique_ptr<TChartComposition> Composition;
    TFCList* Chart = nullptr; // the chart shown now
    std::unique_ptr<TChartCollection> ParseResult;
    TMouseInfo MouseInfo{0};
    int EditIndex = 0;
    int MouseX = 0, MouseY = 0;
    int DragStartX = 0, DragStartY = 0;
    int DragScrollX = 0, DragScrollY = 0;
    int ScrollX = 0, ScrollY = 0; // view position of the picture's top left
    std::uint16_t Zoom = 100;     // percent
    bool HitTestEnabled = true;
    TUndoHistory History; // UndoList, UndoIndex of the chart shown
    // The histories of the other charts of an import, by tab: each chart keeps
    // its own, so an undo never loads one chart's snapshot into another.
    std::map<int, std::unique_ptr<TUndoHistory>> TabHistories;
    int ShownTab = 0;
    QStringList CodeBuffer1, CodeBuffer2;
    int ChartNumber = 0;
    // The file each chart was last read from or written to, and whether it
    // has changed since, by tab (0 for a window without tabs): Save writes
    // the chart shown.
    std::map<int, TChartFileState> FileStates;
    TChartFileState& ShownFile() { return FileStates[ShownTab]; }
    // The tabs whose chart has changes no save has written, in tab order.
    QList<int> ChangedTabs() const;
    // After an edit, undo or redo: the chart shown has changed when it is no
    // longer what it was made, opened, imported or last saved as.
    void MarkChanged();
    // The chart shown is what was just made, opened, imported or saved.
    void MarkUnchanged();
    // The name the close question gives the chart shown: the caption, with
    // the tab's label for a chart of an import.
    QString ShownChartTitle() const;

    // The chart's file name, shown as the window title.
    QString Caption() const;
    void SetCaption(const QString& Name);

    // The window's own chart (new, opened): replaces whatever it showed.
    void SetOwnChart(std::unique_ptr<TFCList> NewChart);
    // The charts of an import on the tabs, chart 0 shown; the window keeps
    // the collection.
    void SetParseResult(std::unique_ptr<TChartCollection> Result);
    // Parks the history of the chart shown and takes up the one of tab NewTab.
    void SwitchHistory(int NewTab);

    // Lays the chart out, sizes ChartBitmap to it and redraws the view.
    void RePaintChem();
    // ChartBitmap with every part composed, for pages and pictures on disk.
    TBitmap& ComposedChart();
    // Redraws the view from ChartBitmap at the scroll offset and zoom.
    void PaintChem();
    // What the view's paint does: the picture at the offset and zoom on white.
    void PaintView(QPainter& Painter, const QRect& Clip);

    // Chart length to view length at this window's zoom and back, rounded to
    // the nearest integer, halves to even.
    int Zooming(int V) const;
    int UnZooming(int V) const;

    // Shows chart NewTab of the import on the tabs; the keyboard focus stays
    // where it is.
    void TabSet1Change(int NewTab);
    void ScrollBar1Change(int Position);
    void ScrollBar2Change(int Position);
    // One wheel notch: 10 view pixels, horizontal with Shift.
    void FormMouseWheelDown(bool Shift);
    void FormMouseWheelUp(bool Shift);
    // Scroll-bar ranges from the picture and view sizes; positions from the offset.
    void UpdateScrollRanges();

    // --- pointer input (X, Y in view pixels) ---
    // Hit test at the last pointer position into MouseInfo: the first block
    // in list order whose element, node or branch rectangle holds the point.
    // Does nothing while the in-place editor is open.
    void RefreshCurcorPos();
    // Hit feedback (cursor, popup, status bar, hint) and dragging.
    void pbOutMouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers, QPoint At);
    // Any button: focus, hit test, selection, committing the in-place
    // editor, drag start. Double is the second press of a double click.
    void pbOutMouseDown(Qt::MouseButton Button, Qt::MouseButtons Buttons,
                        Qt::KeyboardModifiers Modifiers, QPoint At, bool Double);
    void pbOutMouseUp();
    // Opens the in-place editor, adds or deletes a block, by the tool mode.
    void pbOutDblClick();

    // --- block commands (on the block of the last hit test) ---
    // Kind := Kind when the block has exactly Branches branches.
    void ChangeKind(TBlockKind Kind, int Branches);
    void N22Click();   // if with both branches
    void if1Click();   // if with the yes branch only
    void else1Click(); // if with the no branch only
    // The hit two-branch if becomes Kind when its branch Dropped is empty;
    // otherwise NotEmpty is shown.
    void MakeOneBranchIf(int Dropped, TBlockKind Kind, const char* NotEmpty);
    void N34Click();    // copy the block to the block clipboard
    void N35Click();    // cut the block
    void Paste1Click(); // paste the block clipboard at the hit place
    void N15Click();    // delete the block and every marked block
    void N14Click();    // edit the text in place
    void N24Click();    // copy the text
    void N25Click();    // cut the text
    void N26Click();    // paste the text
    void N29Click();    // text + "; " + clipboard text
    void N30Click();    // clipboard text + "; " + text
    void PanelPaintKeyDown(QObject* Sender, TEventKeyBoardArgs& Args);

    // --- in-place editor ---
    // Sizes the editor to its text; with live preview on the text goes into
    // the block at once.
    void mmInputChange();
    void mmInputKeyPress(const QString& Typed);
    // Hides the editor; its text is dropped.
    void HideEditor();
    // Takes the text of an open editor into its block, as one undo step;
    // called before anything reads, saves, replaces or leaves the chart, so
    // what the editor shows is never lost. An editor left as it was opened
    // just closes; nothing happens when it is closed.
    void CommitEdit();

    // Popup captions from the main window's current texts.
    void LocalizeMenus();
    // The code pane shows CodeBuffer2 in the export font.
    void ShowCode();
    // The window became the active one: its code pane is emptied until the
    // next after-edit action fills it again, and the chart takes the keys
    // unless a click into a pane activated the window.
    void FormActivate();
    // The keyboard focus goes to the chart panel, or to the in-place editor
    // while it is open.
    void FocusChart();
    // The source pane shows Text, the source as the import read it.
    void LoadSource(const QString& Text);

    TMainForm& MainForm() const { return Main; }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    // Asks before changes go; refused when the user cancels.
    void closeEvent(QCloseEvent* Event) override;

private:
    void BuildLayout();
    void BuildPopupFlow();
    void BuildPopupShakes();
    void SetUpEditor();
    // The block of the last hit test, nullptr when nothing (or a block no
    // longer in the chart) was hit.
    TFlowBlock* HitBlock() const;
    // The hit block when its element was hit and it is not the root.
    TFlowBlock* HitElement() const;
    // After a change of the chart: repaint, hit test again (the hit block may
    // have moved or gone) and the after-edit action of the main window.
    void ChartEdited();
    // The after-edit action of the main window, for this window.
    void AfterEdit();
    // Runs a command; a fault inside it is reported instead of ending the program.
    void Guarded(const std::function<void()>& Command);
    void ShowHit();
    void SetModeCursor(Qt::MouseButtons Buttons);
    QString TypeText(TBlockKind Kind) const;
    void SelectHit(bool Shift);
    void AddAtHit();
    void AddFromPopup(QAction* TypeButton);
    // The text commands that read the clipboard: Combine gives the new text
    // from the block's text and the clipboard's.
    void ChangeTextFromClipboard(QString (*Combine)(const QString& Text, const QString& Clip));
    void OpenEditor();
    void CommitEditor();
    // The block the open editor writes to, nullptr when it has gone.
    TFlowBlock* EditTarget() const;
    int PictureWidth() const;
    int PictureHeight() const;
    // Composes the bands of ChartBitmap that Area (chart coordinates) touches.
    void ComposeChartArea(const TRect& Area);
    // Runs Draw (a layout or a composition); when memory runs out in it,
    // reports that the chart could not be drawn instead of ending the
    // program, and returns false.
    bool Drawing(const std::function<void()>& Draw);
    bool DrawingFailed = false; // reported, and not yet drawn since
    // A pane has the focus and a click put it there.
    bool PaneFocusedByClick() const;
    bool PaneClicked = false; // the last pane to take the focus took it by a click

    TMainForm& Main;
    std::unique_ptr<TFCList> OwnChart;
    TFlowBlock* EditBlock = nullptr; // the block the editor was opened on
    QString EditOpenedText;          // that block's text when it was opened
};

} // namespace tvx
