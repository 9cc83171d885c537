// Pictures of the running editor for a person to look at, not a check:
//   TVX_SCREENSHOT_DIR=/tmp/shots app_tests --gtest_also_run_disabled_tests
//       --gtest_filter='*Screenshot*'
// writes the main window with a chart of every block kind at zoom 100 and
// 200, and scrolled.
#include "app_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>

using namespace tvx;

namespace {

void FillEveryKind(TFCList& chart) {
    TMouseInfo after(-1);
    TMouseInfo branch0(0);
    TMouseInfo branch1(1);
    TFlowBlock* root = chart.First();
    TFlowBlock* b = chart.AddBlock(root, bkInput, -1, "n", &after);
    b = chart.AddBlock(b, bkProcess, -1, "s := 0", &after);
    TFlowBlock* loop = chart.AddBlock(b, bkFor, -1, "i := 1 to n", &after);
    TFlowBlock* cond = chart.AddBlock(loop, bkIfElse, -1, "odd(i)", &branch0);
    chart.AddBlock(cond, bkProcess, -1, "s := s + i", &branch0);
    chart.AddBlock(cond, bkCall, -1, "Report(i)", &branch1);
    TFlowBlock* w = chart.AddBlock(loop, bkWhile, -1, "s > 100", &after);
    chart.AddBlock(w, bkProcess, -1, "s := s div 2", &branch0);
    TFlowBlock* r = chart.AddBlock(w, bkRepeat, -1, "s < 10", &after);
    chart.AddBlock(r, bkProcess, -1, "s := s + 3", &branch0);
    TFlowBlock* y = chart.AddBlock(r, bkIfYesLeft, -1, "s = 12", &after);
    chart.AddBlock(y, bkOutput, -1, "'twelve'", &branch0);
    TFlowBlock* p = chart.AddBlock(y, bkPageBreak, -1, "", &after);
    chart.AddBlock(p, bkOutput, -1, "s", &after);
}

} // namespace

TEST_F(AppTest, DISABLED_Screenshot) {
    const QString dir = qEnvironmentVariable("TVX_SCREENSHOT_DIR", QDir::tempPath());
    Metrics.reset(); // real fonts for a picture
    // The help text the build puts beside the program.
    QFile::copy(QCoreApplication::applicationDirPath() + "/../bin/readme.txt",
                PathOf("readme.txt"));
    StartEditor();
    Form().resize(1300, 860);
    Form().FileNew1Execute();
    FillEveryKind(*Active()->Chart);
    Active()->RePaintChem();
    Form().MakeAction();
    Active()->SetCaption(dir + "/every_kind.fml");
    Form().mSaveClick();
    Form().FileNew1Execute(); // a second window behind
    Form().MdiArea->setActiveSubWindow(Form().SubWindowOf(Form().MDIChildren().first()));
    Settle();
    Form().grab().save(dir + "/editor_help.png");
    Form().Timer4Timer();
    Settle();
    Form().grab().save(dir + "/editor_100.png");
    Form().ComboBox1->setEditText("200");
    Form().ComboBox1Change();
    Settle();
    Form().grab().save(dir + "/editor_200.png");
    for (int i = 0; i < 25; ++i) {
        Active()->FormMouseWheelDown(false);
    }
    for (int i = 0; i < 8; ++i) {
        Active()->FormMouseWheelDown(true);
    }
    Settle();
    Form().grab().save(dir + "/editor_scrolled.png");
}
