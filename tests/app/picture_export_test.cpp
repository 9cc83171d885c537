// The active chart as pictures, one file per page, and the block clipboard
// commands of the main window.
#include "app/picture_export.h"
#include "app_fixture.h"
#include "chart/block_clipboard.h"
#include "chart/chart_xml.h"
#include "platform/bitmap.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMdiArea>
#include <QPlainTextEdit>

using namespace tvx;

namespace {

const QString PictureFilter = QString::fromUtf8(
    "Файлы рисунков блок схем (*.BMP)|*.bmp|Файлы рисунков блок схем (*.GIF)|*.gif");

QImage ReadPicture(const QString& FileName) {
    QImageReader reader(FileName);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

QByteArray Contents(const QString& FileName) {
    QFile file(FileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& FileName, const QByteArray& Bytes) {
    QFile file(FileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Bytes);
}

class PictureExportTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        StartEditor();
        Form().FileNew1Execute();
        Active()->SetCaption(PathOf("charts/chart.fml"));
        QDir().mkpath(PathOf("charts"));
    }

    // Runs the picture export with the dialog answering FileName and Filter.
    void Export(const QString& FileName, int Filter) {
        Prompts->QueueFileName(FileName, Filter);
        Form().BMP1Click();
    }

    QStringList PictureFiles() const {
        return QDir(PathOf("charts")).entryList({"*.bmp", "*.gif"}, QDir::Files, QDir::Name);
    }
};

TEST(PictureFileNames, PageNumberGoesBeforeTheExtension) {
    EXPECT_EQ(MakePartFileName("/a/chart.bmp", 2), "/a/chart_Part_2.bmp");
    EXPECT_EQ(MakePartFileName("c:\\a\\chart.gif", 0), "c:\\a\\chart_Part_0.gif");
    EXPECT_EQ(MakePartFileName("/a.b/chart", 1), "/a.b/chart_Part_1");
}

TEST_F(PictureExportTest, ChartWithoutPageBreaksIsOneBitmap) {
    Edit(bkProcess, "a := 1");
    Edit(bkOutput, "a");
    Export(PathOf("charts/chart"), 1);

    const TPromptRecord& dialog = Prompts->Records().at(0);
    EXPECT_EQ(dialog.Kind, TPromptKind::SaveFile);
    EXPECT_EQ(dialog.Request.FileName, PathOf("charts/chart"));
    EXPECT_EQ(dialog.Request.Filter, PictureFilter);
    EXPECT_EQ(dialog.Request.Title, "Save to BMP");
    EXPECT_EQ(Prompts->Records().size(), 1);

    EXPECT_EQ(PictureFiles(), QStringList{"chart_Part_0.bmp"});
    const QImage written = ReadPicture(PathOf("charts/chart_Part_0.bmp"));
    const QImage shown = Active()->ComposedChart().Image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(written, shown);
    // The chart keeps no hold on the window's picture.
    EXPECT_NE(Active()->Chart->ChartBitmap.get(), Active()->ChartBitmap.get());
}

TEST_F(PictureExportTest, EveryPageIsASixteenColourGif) {
    Edit(bkProcess, "a := 1");
    Edit(bkPageBreak);
    Edit(bkInput, "b");
    Edit(bkPageBreak);
    Edit(bkOutput, "a + b");
    Active()->RePaintChem();
    const QImage shown = Active()->ComposedChart().Image().convertToFormat(QImage::Format_RGB32);
    // A name with extensions of its own loses them all.
    Export(PathOf("charts/pages.old.bmp"), 2);

    EXPECT_EQ(PictureFiles(),
              QStringList({"pages_Part_0.gif", "pages_Part_1.gif", "pages_Part_2.gif"}));
    if (!QImageReader::supportedImageFormats().contains("gif")) {
        GTEST_SKIP() << "no GIF reader to look at the pages";
    }
    int top = 0;
    for (int n = 0; n < 3; ++n) {
        const QImage page = ReadPicture(PathOf("charts/pages_Part_%1.gif").arg(n));
        ASSERT_FALSE(page.isNull()) << n;
        EXPECT_EQ(page.width(), shown.width());
        QSet<QRgb> colours;
        int differing = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                colours.insert(page.pixel(x, y));
                differing += page.pixel(x, y) != shown.pixel(x, top + y);
            }
        }
        EXPECT_LE(colours.size(), 16);
        EXPECT_GE(colours.size(), 2);
        // Lines, text and white stay as they are; only in-between shades move.
        EXPECT_LT(differing, page.width() * page.height() / 10);
        top += page.height();
    }
    EXPECT_EQ(top, shown.height());
    // The window's picture is still the one it showed.
    EXPECT_EQ(Active()->ChartBitmap->PixelFormat(), pf16bit);
    EXPECT_EQ(Active()->ComposedChart().Image().convertToFormat(QImage::Format_RGB32), shown);
}

TEST_F(PictureExportTest, PageOfNoHeightWritesNoFile) {
    TFlowBlock* first = Edit(bkPageBreak);
    TFlowBlock* second = Edit(bkPageBreak);
    Edit(bkProcess, "a := 1");
    Active()->RePaintChem();
    second->PageY = first->PageY; // nothing between the two cuts
    Export(PathOf("charts/chart"), 1);
    EXPECT_EQ(PictureFiles(), QStringList({"chart_Part_0.bmp", "chart_Part_2.bmp"}));
    EXPECT_TRUE(Prompts->Messages().isEmpty());
}

TEST_F(PictureExportTest, PageTooTallForAGifIsRefusedByName) {
    Edit(bkProcess, "a := 1");
    Active()->Chart->First()->SetHeight(70000); // as a chart of some 1,500 blocks
    Export(PathOf("charts/tall"), 2);
    EXPECT_TRUE(PictureFiles().isEmpty());
    ASSERT_EQ(Prompts->Messages().size(), 1);
    EXPECT_TRUE(Prompts->Messages().at(0).contains(PathOf("charts/tall_Part_0.gif")));
}

TEST_F(PictureExportTest, ThePageFilesThatWouldBeReplacedAreAskedAbout) {
    // A file of the chosen name is not written, so not asked about.
    const QString base = PathOf("charts/chart.bmp");
    const QString page0 = PathOf("charts/chart_Part_0.bmp");
    const QString page1 = PathOf("charts/chart_Part_1.bmp");
    Write(base, "not a picture");
    Export(PathOf("charts/chart"), 1);
    EXPECT_TRUE(Prompts->Questions().isEmpty());
    EXPECT_FALSE(ReadPicture(page0).isNull());
    EXPECT_EQ(Contents(base), "not a picture");

    // One question names every page file there is; No keeps them all.
    Edit(bkPageBreak);
    Edit();
    Write(page0, "earlier 0");
    Write(page1, "earlier 1");
    Prompts->ClearRecords();
    Export(PathOf("charts/chart"), 1);
    EXPECT_EQ(Prompts->Questions(),
              QStringList{"File  " + page0 + "\r\n" + page1 + "\r\nNow exist! ReSave it?"});
    EXPECT_EQ(Contents(page0), "earlier 0");
    EXPECT_EQ(Contents(page1), "earlier 1");

    Prompts->ClearRecords();
    Prompts->QueueAnswer(true);
    Export(PathOf("charts/chart"), 1);
    EXPECT_EQ(Prompts->Questions().size(), 1);
    EXPECT_FALSE(ReadPicture(page1).isNull());
}

TEST_F(PictureExportTest, WriteFailureIsReportedAndCancelWritesNothing) {
    Export(QString(), 1);
    Export(PathOf("nowhere/chart"), 2);
    ASSERT_EQ(Prompts->Messages().size(), 1);
    EXPECT_TRUE(Prompts->Messages()[0].contains(PathOf("nowhere/chart_Part_0.gif")));
    EXPECT_TRUE(PictureFiles().isEmpty());
    EXPECT_FALSE(QDir(PathOf("nowhere")).exists());

    // Without a chart window there is nothing to export and nothing to ask.
    Form().MdiArea->closeAllSubWindows();
    Settle();
    Prompts->ClearRecords();
    Form().BMP1Click();
    EXPECT_TRUE(Prompts->Records().isEmpty());
}

TEST_F(PictureExportTest, BlockClipboardIsSavedAsAChartFile) {
    // Nothing copied yet: nothing to save.
    Form().N20Click();
    EXPECT_TRUE(Prompts->Records().isEmpty());

    TFlowBlock* block = Edit(bkProcess, "x := 42");
    block->Mark = 1;
    Form().BlockClipboard = CopySelected(*Active()->Chart);
    ASSERT_NE(Form().BlockClipboard, nullptr);
    Prompts->QueueFileName(PathOf("charts/copy.old.txt"));
    Form().N20Click();
    const TPromptRecord& dialog = Prompts->Records().at(0);
    EXPECT_EQ(dialog.Request.FileName, "New_FlowChart_" + QString::number(Active()->ChartNumber));
    EXPECT_EQ(dialog.Request.Title, "Save as ...");
    EXPECT_EQ(dialog.Request.Filter,
              QString::fromUtf8("Файлы блок схем XML    формат (.fml)|*.fml"));
    const QString saved = PathOf("charts/copy.fml");
    TFCList read;
    ASSERT_TRUE(LoadFromXML(read, saved));
    ASSERT_EQ(read.Count(), 2);
    EXPECT_EQ(read.GetBlock(1)->Text, "x := 42");

    // The second time the dialog starts where the first one ended; No keeps the file.
    const QByteArray before = Contents(saved);
    Form().BlockClipboard->GetBlock(1)->Text = "changed";
    Prompts->ClearRecords();
    Prompts->QueueFileName(saved);
    Form().N20Click();
    EXPECT_EQ(Prompts->Records().at(0).Request.InitialDir, PathOf("charts/"));
    EXPECT_EQ(Prompts->Questions(), QStringList{"File  " + saved + "\r\nNow exist! ReSave it?"});
    EXPECT_EQ(Contents(saved), before);
}

TEST_F(PictureExportTest, ClipboardPasteAndMaintenanceOperations) {
    TFlowBlock* block = Edit(bkProcess, "x := 1");
    block->Mark = 1;
    Form().BlockClipboard = CopySelected(*Active()->Chart);
    TMDIChild& child = *Active();
    const int snapshots = int(child.History.UndoList.size());

    // Paste alone changes the chart and nothing else.
    child.MouseInfo = TMouseInfo(-1);
    child.MouseInfo.BlockIndex = block->Index;
    Form().Paste1Click();
    ASSERT_EQ(child.Chart->Count(), 3);
    EXPECT_EQ(child.Chart->GetBlock(2)->Text, "x := 1");
    EXPECT_EQ(child.History.UndoList.size(), snapshots);

    // The after-edit action catches up with it.
    Form().ClipBoard1Click();
    EXPECT_EQ(child.History.UndoList.size(), snapshots + 1);
    EXPECT_EQ(child.reCode->toPlainText().count("x := 1"), 2);

    Form().N2Click();
    QStringList texts;
    for (const TFlowBlock* b : child.Chart->GetList()) {
        texts.append(b->Text);
    }
    EXPECT_EQ(texts, QStringList({"Block №0", "Block №1", "Block №2"}));
    EXPECT_TRUE(Prompts->Records().isEmpty());
}

} // namespace
