// The chart view: zoom commands and the zoom box, the length conversions,
// the picture at the offset and zoom, wheel and scroll-bar scrolling, the
// tabs of an import, and a drawing that runs out of memory.
#include "app/chart_collection.h"
#include "app/chart_view.h"
#include "app_fixture.h"
#include "platform/bitmap.h"
#include "platform/text_metrics.h"
#include "settings/main_settings.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>
#include <new>

using namespace tvx;

namespace {

void TypeZoom(TMainForm& form, const QString& text) {
    form.ComboBox1->setEditText(text);
}

void Wheel(QWidget* view, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(10, 10);
    QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &event);
}

std::unique_ptr<TFCList> Chart(const QString& Caption, int Blocks) {
    auto chart = std::make_unique<TFCList>();
    chart->Caption = Caption;
    TMouseInfo place(-1);
    TFlowBlock* last = chart->AddBlock(nullptr, bkRoot, 0, Caption, &place);
    for (int i = 0; i < Blocks; ++i) {
        last = chart->AddBlock(last, bkProcess, -1, QStringLiteral("x := %1").arg(i), &place);
    }
    return chart;
}

} // namespace

TEST_F(AppTest, ZoomButtonsStepByTenBetweenTenAndFiveHundred) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild* child = Active();
    child->Zoom = 490;
    Form().SpeedButton2Click();
    EXPECT_EQ(child->Zoom, 500);
    EXPECT_EQ(Form().ComboBox1->currentText(), "500");
    Form().SpeedButton2Click();
    EXPECT_EQ(child->Zoom, 500);
    Form().SpeedButton1Click();
    EXPECT_EQ(child->Zoom, 490);
    child->Zoom = 10;
    Form().SpeedButton1Click();
    EXPECT_EQ(child->Zoom, 10);
    Form().SpeedButton2Click();
    EXPECT_EQ(child->Zoom, 20);
    child->Zoom = 505;
    Form().SpeedButton2Click();
    Form().SpeedButton1Click();
    EXPECT_EQ(child->Zoom, 505);
}

TEST_F(AppTest, ZoomBoxTakesWholeNumbersWithinTheZoomField) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild* child = Active();
    TypeZoom(Form(), "abc");
    EXPECT_EQ(Prompts->Messages(), QStringList{"Unavaliable symbol for zoom!"});
    EXPECT_EQ(child->Zoom, 100);
    EXPECT_EQ(Form().ComboBox1->currentText(), "100");
    TypeZoom(Form(), "0");
    EXPECT_EQ(child->Zoom, 1);
    EXPECT_EQ(Form().ComboBox1->currentText(), "1");
    TypeZoom(Form(), "2000");
    EXPECT_EQ(child->Zoom, 2000);
    TypeZoom(Form(), "70000");
    EXPECT_EQ(child->Zoom, 65535);
    EXPECT_EQ(Form().ComboBox1->currentText(), "65535");
    TypeZoom(Form(), "-5");
    EXPECT_EQ(child->Zoom, 1);
    EXPECT_EQ(Prompts->Messages().size(), 1);

    // Every key typed applies; a box emptied on the way waits for a digit,
    // and only left empty it is refused.
    QLineEdit* field = Form().ComboBox1->lineEdit();
    field->selectAll();
    QTest::keyClicks(field, "25");
    EXPECT_EQ(child->Zoom, 25);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(child->Zoom, 2);
    QTest::keyClicks(field, "3");
    EXPECT_EQ(child->Zoom, 3);
    EXPECT_EQ(Prompts->Messages().size(), 1);
    // A typed number stands as typed, never completed from the list.
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "0");
    EXPECT_EQ(child->Zoom, 1);
    EXPECT_EQ(Form().ComboBox1->currentText(), "1");
    field->selectAll();
    QTest::keyClicks(field, "5");
    EXPECT_EQ(child->Zoom, 5);
    EXPECT_EQ(Form().ComboBox1->currentText(), "5");
    field->clear();
    emit field->editingFinished();
    EXPECT_EQ(Prompts->Messages().size(), 2);
    EXPECT_EQ(child->Zoom, 100);
    // Choosing from the list too.
    Form().ComboBox1->setCurrentIndex(1);
    EXPECT_EQ(child->Zoom, 50);
}

TEST_F(AppTest, LengthsConvertAtTheActiveWindowsZoomHalvesToEven) {
    StartEditor();
    EXPECT_EQ(Form().Zooming(15), 15); // no window: unchanged
    Form().FileNew1Execute();
    Active()->Zoom = 50;
    EXPECT_EQ(Form().Zooming(15), 8);
    EXPECT_EQ(Form().Zooming(25), 12);
    Active()->Zoom = 300;
    EXPECT_EQ(Form().UnZooming(10), 3);
    Active()->Zoom = 150;
    EXPECT_EQ(Form().Zooming(200), 300);
}

TEST_F(AppTest, ViewShowsThePictureAtTheOffsetAndZoom) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild* child = Active();
    Edit(bkIfElse, "c");
    const TBitmap& picture = child->ComposedChart();
    ASSERT_GT(picture.Width(), 20);

    auto viewPixel = [&](int x, int y) { return child->pbOut->grab().toImage().pixelColor(x, y); };
    auto picturePixel = [&](int x, int y) { return picture.Image().pixelColor(x, y); };
    // Find a dark pixel of the drawing.
    QPoint ink(-1, -1);
    for (int y = 0; y < picture.Height() && ink.x() < 0; ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            if (picturePixel(x, y).lightness() < 100) {
                ink = QPoint(x, y);
                break;
            }
        }
    }
    ASSERT_GE(ink.x(), 0);
    EXPECT_EQ(viewPixel(ink.x(), ink.y()), picturePixel(ink.x(), ink.y()));
    child->ScrollX = 7;
    child->ScrollY = 5;
    EXPECT_EQ(viewPixel(ink.x() + 7, ink.y() + 5), picturePixel(ink.x(), ink.y()));
    EXPECT_EQ(viewPixel(3, 2), QColor(Qt::white)); // margin

    TypeZoom(Form(), "200");
    EXPECT_EQ(viewPixel(7 + 2 * ink.x() + 1, 5 + 2 * ink.y() + 1), picturePixel(ink.x(), ink.y()));

    Form().sbZeroClick();
    EXPECT_EQ(child->ScrollX, 0);
    EXPECT_EQ(child->ScrollY, 0);
}

TEST_F(AppTest, WheelScrollsTenPixelsANotchWithinBounds) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild* child = Active();
    for (int i = 0; i < 6; ++i) {
        Edit();
    }
    const int h = child->ChartBitmap->Height();
    const int w = child->ChartBitmap->Width();
    const int viewH = child->pbOut->height();
    const int viewW = child->pbOut->width();

    Wheel(child->pbOut, -120);
    EXPECT_EQ(child->ScrollY, -10);
    child->ScrollY = 10 - h; // the last step that still shows ten pixels
    Wheel(child->pbOut, -120);
    EXPECT_EQ(child->ScrollY, -h);
    Wheel(child->pbOut, -120);
    EXPECT_EQ(child->ScrollY, -h); // refused

    child->ScrollY = viewH - 10;
    Wheel(child->pbOut, 120);
    EXPECT_EQ(child->ScrollY, viewH);
    Wheel(child->pbOut, 120);
    EXPECT_EQ(child->ScrollY, viewH);

    child->ScrollX = viewW - 5;
    Wheel(child->pbOut, 120, Qt::ShiftModifier);
    EXPECT_EQ(child->ScrollX, viewW - 5);
    child->ScrollX = 0;
    Wheel(child->pbOut, -120, Qt::ShiftModifier);
    EXPECT_EQ(child->ScrollX, -10);
    child->ScrollX = 9 - w;
    Wheel(child->pbOut, -120, Qt::ShiftModifier);
    EXPECT_EQ(child->ScrollX, 9 - w);

    // Half notches add up to one.
    child->ScrollY = 0;
    Wheel(child->pbOut, -60);
    EXPECT_EQ(child->ScrollY, 0);
    Wheel(child->pbOut, -60);
    EXPECT_EQ(child->ScrollY, -10);
}

TEST_F(AppTest, ScrollBarsMoveTheOffsetWithinTheirRange) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild* child = Active();
    child->ScrollBar2->setValue(30);
    EXPECT_EQ(child->ScrollX, -30);
    child->ScrollBar1->setValue(12);
    EXPECT_EQ(child->ScrollY, -12);
    child->UpdateScrollRanges();
    EXPECT_EQ(child->ScrollBar2->minimum(), 1 - child->pbOut->width());
    EXPECT_EQ(child->ScrollBar2->maximum(),
              std::max(child->ChartBitmap->Width() - 1, child->pbOut->width() - 1));
    // An offset outside the range is kept as it is.
    child->ScrollX = -100000;
    child->UpdateScrollRanges();
    EXPECT_EQ(child->ScrollX, -100000);
}

TEST_F(AppTest, AChartWindowActivatedEmptiesItsCodePane) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild* first = Active();
    Edit();
    Form().FileNew1Execute();
    Edit();
    ASSERT_FALSE(first->reCode->toPlainText().isEmpty());
    Form().MdiArea->setActiveSubWindow(Form().SubWindowOf(first));
    EXPECT_TRUE(first->reCode->toPlainText().isEmpty());
    Form().MakeAction();
    ASSERT_FALSE(first->reCode->toPlainText().isEmpty());
    // The main window active again (after a dialog) activates no chart window.
    QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
    QApplication::sendEvent(&Form(), &deactivate);
    QApplication::sendEvent(&Form(), &activate);
    Settle();
    EXPECT_FALSE(first->reCode->toPlainText().isEmpty());
}

TEST_F(AppTest, TabsShowTheChartsOfAnImport) {
    StartEditor();
    // The tab strip has its place in every window, with tabs or without.
    TMDIChild* plain = Form().NewMDIChild(nullptr, 0, nullptr);
    Settle();
    EXPECT_TRUE(plain->TabSet1->isVisible());
    const int height = plain->TabSet1->height();
    EXPECT_GT(height, 0);
    // The source pane shows the text the import read, not a file read again.
    auto charts = std::make_unique<TChartList>("program Main;\nbegin\nend.");
    charts->Add(Chart("Main", 1));
    charts->Add(Chart("Helper", 4));
    charts->Add(Chart("Other", 2));

    TMDIChild* child = Form().NewMDIChild(std::move(charts), 0, nullptr);
    ASSERT_EQ(child->TabSet1->count(), 3);
    EXPECT_EQ(child->TabSet1->tabText(1), "Helper");
    Settle();
    EXPECT_LT(child->TabSet1->y(), child->Panel1->y()); // the tabs above the scroll bar
    EXPECT_EQ(child->TabSet1->height(), height);
    EXPECT_EQ(child->Chart->First()->Text, "Main");
    EXPECT_EQ(child->mmInputCode->toPlainText(), "program Main;\nbegin\nend.");
    const QString code = child->reCode->toPlainText();

    child->ScrollX = -40;
    child->ScrollY = -20;
    child->TabSet1->setCurrentIndex(1);
    EXPECT_EQ(child->Chart->First()->Text, "Helper");
    EXPECT_EQ(child->Chart->Count(), 5);
    EXPECT_EQ(child->ScrollX, 0);
    EXPECT_EQ(child->ScrollY, 0);
    EXPECT_FALSE(child->ChartBitmap->Empty());
    EXPECT_NE(child->reCode->toPlainText(), code); // the code of the chart shown
    EXPECT_TRUE(child->reCode->toPlainText().contains("Helper"));
    EXPECT_EQ(child->History.UndoList.size(), 1);
    child->TabSet1Change(2);
    EXPECT_EQ(child->Chart->First()->Text, "Other");
    EXPECT_EQ(child->TabSet1->currentIndex(), 2);
}

TEST_F(AppTest, EveryChartOfAnImportKeepsItsOwnUndoHistory) {
    StartEditor();
    auto charts = std::make_unique<TChartList>();
    charts->Add(Chart("Main", 1));
    charts->Add(Chart("Helper", 4));
    TMDIChild* child = Form().NewMDIChild(std::move(charts), 0, nullptr);
    TFCList* main = child->Chart;
    const int mainBlocks = main->Count();

    child->TabSet1->setCurrentIndex(1);
    TFCList* helper = child->Chart;
    const TMouseInfo after(-1);
    helper->AddBlock(helper->GetBlock(1), bkProcess, -1, "added", &after);
    Form().MakeAction();
    EXPECT_TRUE(Form().N9->isEnabled());

    // The first chart's history knows nothing of that edit.
    child->TabSet1->setCurrentIndex(0);
    EXPECT_EQ(child->Chart, main);
    EXPECT_FALSE(Form().N9->isEnabled());
    Form().N9Click();
    EXPECT_EQ(main->Count(), mainBlocks);
    EXPECT_EQ(main->First()->Text, "Main");

    // Back on the second chart, undo takes back its own edit.
    child->TabSet1->setCurrentIndex(1);
    EXPECT_TRUE(Form().N9->isEnabled());
    Form().N9Click();
    EXPECT_EQ(helper->Count(), 5);
    EXPECT_EQ(helper->First()->Text, "Helper");
    EXPECT_EQ(main->First()->Text, "Main");
    EXPECT_EQ(main->Count(), mainBlocks);

    // Snapshot files of the two charts never share a name.
    const QString shown = child->History.UndoList.first();
    for (const auto& [tab, history] : child->TabHistories) {
        for (const QString& name : history->UndoList) {
            EXPECT_NE(name, shown) << tab;
        }
    }
}

namespace {

// Measures as the fixed metrics do, or runs out of memory while Armed.
class TFailingMetrics : public TFixedTextMetrics {
public:
    TSize TextExtent(const TFont& Font, const QString& Text) const override {
        if (Armed) {
            throw std::bad_alloc();
        }
        return TFixedTextMetrics::TextExtent(Font, Text);
    }
    static inline bool Armed = false;
};

} // namespace

TEST_F(AppTest, RunningOutOfMemoryWhileDrawingIsReportedAndLosesNothing) {
    StartEditor();
    Form().FileNew1Execute();
    Active()->SetCaption(PathOf("chart.fml"));
    Edit(bkProcess, "a := 1");
    Edit(bkOutput, "a");
    TTextMetricsGuard Metrics(std::make_unique<TFailingMetrics>());
    MainSettings->pm_BlockNum = true; // the numbers are measured in every composition
    TMDIChild* child = Active();
    TFailingMetrics::Armed = true;
    child->RePaintChem();
    child->pbOut->grab(); // a paint
    Prompts->QueueFileName(PathOf("chart"), 1);
    Form().BMP1Click();
    QCoreApplication::processEvents();
    TFailingMetrics::Armed = false;
    const QStringList messages = Prompts->Messages();
    ASSERT_EQ(messages.size(), 2) << messages.join('\n').toStdString();
    EXPECT_TRUE(messages.at(0).startsWith("Not enough memory")) << messages.at(0).toStdString();
    EXPECT_EQ(messages.at(1), MainSettings->MenuPool->GetString("sm_mes_no_memory"));
    EXPECT_FALSE(QFile::exists(PathOf("chart_Part_0.bmp")));
    // Once there is memory again the window draws the chart, all of it there.
    child->RePaintChem();
    EXPECT_EQ(child->Chart->Count(), 3);
    EXPECT_FALSE(child->ComposedChart().Empty());
}
