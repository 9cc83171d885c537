#include "app/mdi_child.h"

#include "app/chart_collection.h"
#include "app/chart_view.h"
#include "app/focused_panel.h"
#include "app/interface_texts.h"
#include "app/main_form.h"
#include "app/termination_signals.h"
#include "chart/chart_composition.h"
#include "chart/chart_repaint.h"
#include "chart/chart_xml.h"
#include "chart/fc_list.h"
#include "platform/bitmap.h"
#include "platform/cp1251.h"
#include "platform/exception.h"
#include "platform/prompts.h"
#include "platform/text_metrics.h"
#include "settings/main_settings.h"

#include <QCloseEvent>
#include <QCryptographicHash>
#include <QFile>
#include <QGridLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <new>

namespace tvx {
namespace {

constexpr int WheelStep = 10;

int Rounded(double v) {
    // Halves go to the even neighbour, as the default rounding mode does. A
    // tall chart at a high zoom stays inside what view lengths can hold.
    constexpr double Limit = 1 << 30;
    return int(std::nearbyint(std::clamp(v, -Limit, Limit)));
}

QPlainTextEdit* TextPane(QWidget* parent, const QString& name) {
    auto* pane = new QPlainTextEdit(parent);
    pane->setObjectName(name);
    pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    pane->setFont(font);
    return pane;
}

} // namespace

TMDIChild::TMDIChild(TMainForm& MainForm) : Main(MainForm) {
    BuildLayout();
    ChartBitmap = std::make_unique<TBitmap>();
    Composition = std::make_unique<TChartComposition>();
    ChartBitmap->SetPixelFormat(pf16bit);
    OwnChart = std::make_unique<TFCList>();
    Chart = OwnChart.get();
    BuildPopupFlow();
    BuildPopupShakes();
    ViewPopup = PopupFlow;
    SetUpEditor();
    PanelPaint->OnKeyBoardDown = [this](QObject* sender, TEventKeyBoardArgs& args) {
        PanelPaintKeyDown(sender, args);
    };
    LocalizeMenus();
}

TMDIChild::~TMDIChild() {
    for (QObject* sender :
         std::initializer_list<QObject*>{ScrollBar1, ScrollBar2, TabSet1, mmInput}) {
        sender->disconnect(this);
    }
    for (QObject* watched : std::initializer_list<QObject*>{mmInput, mmInputCode, reCode}) {
        watched->removeEventFilter(this);
    }
    PanelPaint->OnKeyBoardDown = nullptr;
    // The snapshots go with the history (TUndoHistory deletes its files).
    // The chart shown may belong to ParseResult, which frees it once.
    Chart = nullptr;
}

void TMDIChild::BuildLayout() {
    mmInputCode = TextPane(this, QStringLiteral("mmInputCode"));
    reCode = TextPane(this, QStringLiteral("reCode"));
    reCode->setReadOnly(true);

    auto* middle = new QWidget(this);
    auto* grid = new QGridLayout(middle);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    PanelPaint = new TFocusedPanel(middle);
    PanelPaint->setObjectName(QStringLiteral("PanelPaint"));
    PanelPaint->setFrameShape(QFrame::Box);
    PanelPaint->setAutoFillBackground(true);
    QPalette white = PanelPaint->palette();
    white.setColor(QPalette::Window, Qt::white);
    PanelPaint->setPalette(white);
    auto* paintLayout = new QVBoxLayout(PanelPaint);
    paintLayout->setContentsMargins(1, 1, 1, 1);
    pbOut = new TChartView(*this, PanelPaint);
    paintLayout->addWidget(pbOut);
    mmInput = new QPlainTextEdit(pbOut);
    mmInput->setObjectName(QStringLiteral("mmInput"));
    mmInput->hide();
    mmComments = new QPlainTextEdit(pbOut);
    mmComments->setObjectName(QStringLiteral("mmComments"));
    mmComments->hide();

    ScrollBar1 = new QScrollBar(Qt::Vertical, middle);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    TabSet1 = new QTabBar(middle);
    TabSet1->setObjectName(QStringLiteral("TabSet1"));
    TabSet1->setShape(QTabBar::RoundedSouth);
    TabSet1->setExpanding(false);
    Panel1 = new QWidget(middle);
    auto* bottom = new QHBoxLayout(Panel1);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    ScrollBar2 = new QScrollBar(Qt::Horizontal, Panel1);
    ScrollBar2->setObjectName(QStringLiteral("ScrollBar2"));
    Panel2 = new QWidget(Panel1);
    Panel2->setFixedSize(ScrollBar1->sizeHint().width(), ScrollBar2->sizeHint().height());
    bottom->addWidget(ScrollBar2);
    bottom->addWidget(Panel2);

    grid->addWidget(PanelPaint, 0, 0);
    grid->addWidget(ScrollBar1, 0, 1);
    grid->addWidget(TabSet1, 1, 0, 1, 2);
    grid->addWidget(Panel1, 2, 0, 1, 2);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(0, 1);
    // The tab strip keeps its place, with or without the charts of an import
    // on it, so the view does not jump when an import fills or empties it.
    TabSet1->addTab(QString());
    TabSet1->setMinimumHeight(TabSet1->sizeHint().height());
    TabSet1->removeTab(0);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->addWidget(mmInputCode);
    Splitter1->addWidget(middle);
    Splitter1->addWidget(reCode);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setCollapsible(1, false);
    // The source pane opens only when there is source text to show.
    Splitter1->setSizes({0, 700, 300}); // shares of the width
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter1);

    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TMDIChild::ScrollBar1Change);
    connect(ScrollBar2, &QScrollBar::valueChanged, this, &TMDIChild::ScrollBar2Change);
    connect(TabSet1, &QTabBar::currentChanged, this, [this](int tab) {
        if (tab >= 0) {
            TabSet1Change(tab);
            FocusChart(); // the chart chosen on the tabs takes the keys
        }
    });
    // How the focus comes into a pane tells a click from other activations.
    mmInputCode->installEventFilter(this);
    reCode->installEventFilter(this);
    connect(pbOut, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ViewPopup->popup(pbOut->mapToGlobal(at)); });
}

void TMDIChild::BuildPopupFlow() {
    PopupFlow = new QMenu(this);
    PopupFlow->setObjectName(QStringLiteral("PopupFlow"));
    // The add items sit in a submenu whose head is a command too: opening it
    // switches to adding.
    N2 = PopupFlow->addMenu(QString());
    N1 = N2->addAction(QString());
    N6 = N2->addAction(QString());
    N7 = N2->addAction(QString());
    N8 = N2->addAction(QString());
    fordownto1 = N2->addAction(QString());
    While1 = N2->addAction(QString());
    N9 = N2->addAction(QString());
    Paste1 = PopupFlow->addAction(QString::fromUtf8("Блок Вставить"));
    N13 = PopupFlow->addAction(QString());
    N3 = PopupFlow->addAction(QString());
    PopupFlow->addSeparator();
    N10 = PopupFlow->addAction(QString());
    PopupFlow->addSeparator();
    N11 = PopupFlow->addAction(QString::fromUtf8("Закрыть"));

    auto press = [](QAction* button) { button->setChecked(true); };
    connect(N2, &QMenu::aboutToShow, this, [this, press] { press(Main.sbAdd); });
    connect(N13, &QAction::triggered, this, [this, press] { press(Main.sbHand); });
    connect(N3, &QAction::triggered, this, [this, press] { press(Main.sbEditing); });
    const std::pair<QAction*, QAction*> adds[] = {
        {N1, Main.sbProcess}, {N6, Main.sbCall},          {N7, Main.sbOuput},
        {N8, Main.sbIfelse},  {fordownto1, Main.sbForto}, {While1, Main.sbWhile},
        {N9, Main.sbRepeat},
    };
    for (auto [item, button] : adds) {
        connect(item, &QAction::triggered, this, [this, button] { AddFromPopup(button); });
    }
    connect(Paste1, &QAction::triggered, this, &TMDIChild::Paste1Click);
    connect(N10, &QAction::triggered, this, [this] { RePaintChem(); });
    connect(N11, &QAction::triggered, this, [this] {
        if (QMdiSubWindow* sub = Main.SubWindowOf(this)) {
            sub->close();
        } else {
            close();
        }
    });
}

void TMDIChild::LocalizeMenus() {
    auto hint = [](QAction* button) { return button->toolTip(); };
    N1->setText(hint(Main.sbProcess));
    N6->setText(hint(Main.sbCall));
    N7->setText(hint(Main.sbOuput));
    N8->setText(hint(Main.sbIfelse));
    fordownto1->setText(hint(Main.sbForto));
    While1->setText(hint(Main.sbWhile));
    N9->setText(hint(Main.sbRepeat));
    N2->setTitle(hint(Main.sbAdd));
    N3->setText(hint(Main.sbEditing));
    N13->setText(hint(Main.sbHand));
    N10->setText(Main.N7->text());
}

QString TMDIChild::Caption() const {
    return windowTitle();
}

void TMDIChild::SetCaption(const QString& Name) {
    setWindowTitle(Name);
}

void TMDIChild::SetOwnChart(std::unique_ptr<TFCList> NewChart) {
    Chart = NewChart.get();
    OwnChart = std::move(NewChart);
}

void TMDIChild::SetParseResult(std::unique_ptr<TChartCollection> Result) {
    // The editor and the last hit belong to the charts about to go.
    HideEditor();
    MouseInfo.BlockIndex = -1;
    MouseInfo.Branch = -1;
    MouseInfo.HitKind = hkBranch;
    const QSignalBlocker quiet(TabSet1);
    while (TabSet1->count() > 0) {
        TabSet1->removeTab(0);
    }
    Chart = OwnChart.get();
    // The first new chart takes the place of the first one before, with its
    // history and its file; the charts of the other tabs were never saved.
    const TChartFileState firstFile = FileStates[0];
    FileStates.clear();
    FileStates[0] = firstFile;
    // The history of the first chart goes on with the first new chart (a
    // re-import can so be undone there); the others go with their charts.
    if (const auto first = TabHistories.find(0); ShownTab != 0 && first != TabHistories.end()) {
        History.SwapWith(*first->second);
    }
    TabHistories.clear();
    ShownTab = 0;
    ParseResult = std::move(Result);
    if (!ParseResult || ParseResult->ChartCount() == 0) {
        return;
    }
    for (int i = 0; i < ParseResult->ChartCount(); ++i) {
        TabSet1->addTab(ParseResult->GetChart(i)->Caption);
    }
    TabSet1->setCurrentIndex(0);
    Chart = ParseResult->GetChart(0);
}

void TMDIChild::LoadSource(const QString& Text) {
    mmInputCode->setPlainText(Text);
    if (!Text.isEmpty() && Splitter1->sizes().value(0) == 0) {
        QList<int> sizes = Splitter1->sizes();
        int share = std::max(sizes.value(1) / 3, 120);
        Splitter1->setSizes({share, std::max(sizes.value(1) - share, 100), sizes.value(2)});
    }
}

void TMDIChild::ShowCode() {
    reCode->clear();
    reCode->setFont(ToQFont(MainSettings->FontExport));
    reCode->setPlainText(CodeBuffer2.join(u'\n'));
    reCode->moveCursor(QTextCursor::Start);
}

void TMDIChild::FormActivate() {
    reCode->clear();
    // A click into a pane of a window that was not active activates it: the
    // keys go where the click put them. Any other activation gives them to
    // the chart.
    if (!PaneFocusedByClick()) {
        FocusChart();
    }
}

bool TMDIChild::PaneFocusedByClick() const {
    return PaneClicked && (mmInputCode->hasFocus() || reCode->hasFocus());
}

void TMDIChild::FocusChart() {
    // Keys belong to the chart (or to its open text editor), never to a
    // pane that may be folded away out of sight.
    if (mmInput->isHidden()) {
        PanelPaint->setFocus();
    } else {
        mmInput->setFocus();
    }
}

int TMDIChild::PictureWidth() const {
    return ChartBitmap->Width();
}

int TMDIChild::PictureHeight() const {
    return ChartBitmap->Height();
}

void TMDIChild::RePaintChem() {
    if (Chart == nullptr || Chart->Count() == 0) {
        PaintChem();
        return;
    }
    // The chart picture takes its new size now; its bands are composed as
    // the view shows them.
    Drawing([this] {
        LayoutChart(*Chart);
        ComposeChartArea(TRect{});
    });
    PaintChem();
}

bool TMDIChild::Drawing(const std::function<void()>& Draw) {
    QString text;
    try {
        Draw();
        DrawingFailed = false;
        return true;
    } catch (const std::bad_alloc&) {
        // What the drawing holds is given back, for the program (and the
        // message) to go on with.
        if (Chart != nullptr) {
            ReleaseChartPictures(*Chart);
        }
        ChartBitmap->ReleasePixels();
        *Composition = TChartComposition();
        text = MenuText("sm_mes_no_memory");
    } catch (const Exception& e) {
        text = QStringLiteral("The chart %1 could not be drawn (%2). Nothing of it is lost: it "
                              "can still be edited, saved and closed.")
                   .arg(Caption(), e.message());
    }
    // The chart itself is as it was: only its picture is missing. The message
    // is shown once, after the paint or command that failed, and not again
    // while drawing goes on failing.
    if (!DrawingFailed) {
        DrawingFailed = true;
        QTimer::singleShot(0, this, [text] { Prompts().ShowMessage(text); });
    }
    return false;
}

void TMDIChild::ComposeChartArea(const TRect& Area) {
    if (Chart == nullptr || Chart->Count() == 0) {
        return;
    }
    Composition->BlockNumbers = MainSettings->pm_BlockNum;
    Composition->Compose(*Chart, *ChartBitmap, Area);
}

TBitmap& TMDIChild::ComposedChart() {
    ComposeChartArea(TChartComposition::kEverything);
    return *ChartBitmap;
}

void TMDIChild::PaintChem() {
    // The in-place editor stays centred over its block; its own size is not zoomed.
    const TFlowBlock* edited = mmInput->isVisible() ? EditTarget() : nullptr;
    if (edited != nullptr) {
        const TRect r = edited->InRect;
        mmInput->move(Zooming(r.Left + (r.Right - r.Left) / 2 - mmInput->width() / 2) + ScrollX,
                      Zooming(r.Top + (r.Bottom - r.Top) / 2 - mmInput->height() / 2) + ScrollY);
    }
    UpdateScrollRanges();
    pbOut->update();
}

void TMDIChild::PaintView(QPainter& Painter, const QRect& Clip) {
    Painter.fillRect(Clip, Qt::white);
    if (ChartBitmap->Empty() || Chart == nullptr || Chart->Count() == 0) {
        return;
    }
    const QRect target(ScrollX, ScrollY, Zooming(PictureWidth()), Zooming(PictureHeight()));
    const QRect shown = target.intersected(Clip);
    if (shown.isEmpty()) {
        return;
    }
    // Only the chart pixels under the shown part are read: the chart
    // picture of a long chart is kept in tiles, mostly white.
    const double sx = double(target.width()) / PictureWidth();
    const double sy = double(target.height()) / PictureHeight();
    const int left = std::max(int(std::floor((shown.left() - target.left()) / sx)) - 1, 0);
    const int top = std::max(int(std::floor((shown.top() - target.top()) / sy)) - 1, 0);
    const int right =
        std::min(int(std::ceil((shown.right() + 1 - target.left()) / sx)) + 1, PictureWidth());
    const int bottom =
        std::min(int(std::ceil((shown.bottom() + 1 - target.top()) / sy)) + 1, PictureHeight());
    const TRect area{left, top, right, bottom};
    QImage piece;
    Drawing([&] {
        ComposeChartArea(area);
        piece = ChartBitmap->Region(area);
    });
    if (piece.isNull()) {
        return;
    }
    Painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    Painter.setClipRect(shown);
    Painter.drawImage(QRectF(target.left() + left * sx, target.top() + top * sy,
                             (right - left) * sx, (bottom - top) * sy),
                      piece);
}

int TMDIChild::Zooming(int V) const {
    return Rounded(double(V) * Zoom / 100.0);
}

int TMDIChild::UnZooming(int V) const {
    return Rounded(double(V) * 100.0 / std::max<int>(Zoom, 1));
}

void TMDIChild::TabSet1Change(int NewTab) {
    if (!ParseResult || NewTab < 0 || NewTab >= ParseResult->ChartCount()) {
        return;
    }
    CommitEdit(); // into the chart shown before
    const bool otherChart = NewTab != ShownTab;
    Chart = ParseResult->GetChart(NewTab);
    if (TabSet1->currentIndex() != NewTab) {
        const QSignalBlocker quiet(TabSet1);
        TabSet1->setCurrentIndex(NewTab);
    }
    if (otherChart) {
        SwitchHistory(NewTab);
    }
    ScrollX = 0;
    ScrollY = 0;
    RePaintChem();
    RefreshCurcorPos(); // the last hit named a block of the chart shown before
    if (otherChart) {
        // The code pane and the undo buttons follow the chart shown.
        Main.RefreshCode(*this);
        Main.UpdateHistoryButtons();
    }
}

void TMDIChild::SwitchHistory(int NewTab) {
    auto parked = std::make_unique<TUndoHistory>();
    parked->SwapWith(History);
    const auto found = TabHistories.find(NewTab);
    if (found != TabHistories.end()) {
        History.SwapWith(*found->second);
        TabHistories.erase(found);
    } else {
        // First visit: the history starts at the chart as it is now.
        History.NameLike(*parked, QStringLiteral("%1_%2").arg(ChartNumber).arg(NewTab));
        History.Restart(*Chart);
    }
    TabHistories[ShownTab] = std::move(parked);
    const bool firstVisit = !FileStates.contains(NewTab);
    ShownTab = NewTab;
    if (firstVisit) {
        MarkUnchanged(); // as it was imported
    }
}

namespace {

QByteArray DigestOf(const TFCList& Chart) {
    return Chart.Count() == 0
               ? QByteArray()
               : QCryptographicHash::hash(ChartToXml(Chart), QCryptographicHash::Sha1);
}

} // namespace

void TMDIChild::MarkChanged() {
    TChartFileState& file = ShownFile();
    try {
        file.Changed = Chart == nullptr || DigestOf(*Chart) != file.Unchanged;
    } catch (const std::exception&) {
        file.Changed = true; // what cannot be compared counts as changed
    }
}

void TMDIChild::MarkUnchanged() {
    TChartFileState& file = ShownFile();
    file.Changed = false;
    try {
        file.Unchanged = Chart != nullptr ? DigestOf(*Chart) : QByteArray();
    } catch (const std::exception&) {
        file.Unchanged.clear();
    }
}

QList<int> TMDIChild::ChangedTabs() const {
    QList<int> tabs;
    for (const auto& [tab, file] : FileStates) {
        if (file.Changed) {
            tabs.append(tab);
        }
    }
    return tabs;
}

QString TMDIChild::ShownChartTitle() const {
    if (TabSet1->count() == 0) {
        return Caption();
    }
    return QStringLiteral("%1 [%2]").arg(Caption(), TabSet1->tabText(ShownTab));
}

void TMDIChild::closeEvent(QCloseEvent* Event) {
    // Nobody may be there to answer while a signal ends the program.
    if (!TerminationSignalReceived() && !Main.MayCloseChart(*this)) {
        Event->ignore();
        return;
    }
    Event->accept();
}

void TMDIChild::ScrollBar1Change(int Position) {
    ScrollY = -Position;
    PaintChem();
}

void TMDIChild::ScrollBar2Change(int Position) {
    ScrollX = -Position;
    PaintChem();
}

void TMDIChild::FormMouseWheelDown(bool Shift) {
    // The picture may move until only WheelStep pixels of it are left in view.
    if (Shift) {
        if (ScrollX >= WheelStep - Zooming(PictureWidth())) {
            ScrollX -= WheelStep;
            PaintChem();
        }
    } else if (ScrollY >= WheelStep - Zooming(PictureHeight())) {
        ScrollY -= WheelStep;
        PaintChem();
    }
}

void TMDIChild::FormMouseWheelUp(bool Shift) {
    if (Shift) {
        if (ScrollX <= pbOut->width() - WheelStep) {
            ScrollX += WheelStep;
            PaintChem();
        }
    } else if (ScrollY <= pbOut->height() - WheelStep) {
        ScrollY += WheelStep;
        PaintChem();
    }
}

void TMDIChild::UpdateScrollRanges() {
    auto set = [](QScrollBar* bar, int picture, int view, int offset) {
        const QSignalBlocker quiet(bar);
        bar->setRange(1 - view, std::max(picture - 1, view - 1));
        bar->setPageStep(std::max(view, 1));
        bar->setSingleStep(WheelStep);
        bar->setValue(-offset);
    };
    set(ScrollBar2, Zooming(PictureWidth()), pbOut->width(), ScrollX);
    set(ScrollBar1, Zooming(PictureHeight()), pbOut->height(), ScrollY);
}

TFlowBlock* TMDIChild::HitBlock() const {
    if (Chart == nullptr || MouseInfo.BlockIndex < 0 || MouseInfo.BlockIndex >= Chart->Count()) {
        return nullptr;
    }
    return Chart->GetBlock(MouseInfo.BlockIndex);
}

TFlowBlock* TMDIChild::HitElement() const {
    return MouseInfo.HitKind == hkElement && MouseInfo.BlockIndex > 0 ? HitBlock() : nullptr;
}

void TMDIChild::ChartEdited() {
    RePaintChem();
    // Positions moved and blocks may have gone: what the pointer is over now
    // is what the next command acts on.
    RefreshCurcorPos();
    AfterEdit();
}

void TMDIChild::AfterEdit() {
    // The main window's action works on the active window.
    if (Main.ActiveMDIChild() != this) {
        if (QMdiSubWindow* sub = Main.SubWindowOf(this)) {
            Main.MdiArea->setActiveSubWindow(sub);
        }
    }
    Main.MakeAction();
}

void TMDIChild::Guarded(const std::function<void()>& Command) {
    try {
        Command();
    } catch (const std::exception& e) {
        Prompts().ShowMessage(FailureMessage(e));
        RePaintChem();
    }
}

} // namespace tvx
