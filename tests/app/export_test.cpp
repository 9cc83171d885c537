// Export of the active chart as Pascal and C++ text, and the file dialogs'
// filters.
#include "app/qt_prompts.h"
#include "app_fixture.h"
#include "codegen/export_state.h"

#include <QFile>
#include <QPlainTextEdit>

using namespace tvx;

namespace {

QString ReadText(const QString& FileName) {
    QFile file(FileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST_F(AppTest, PascalExportProposesTheCaptionAndAsksBeforeReplacing) {
    StartEditor();
    Form().FileNew1Execute();
    Edit(bkProcess, "x := 1");
    Active()->SetCaption(PathOf("demo.old.fml"));

    Prompts->QueueFileName(PathOf("demo"));
    Form().mnExportToCodeClick();
    const TPromptRecord dialog = Prompts->Records().last();
    EXPECT_EQ(dialog.Request.FileName, PathOf("demo"));
    EXPECT_EQ(dialog.Request.Title, "Save to PAS");
    EXPECT_EQ(dialog.Request.Filter, QString::fromUtf8("Файлы программ (*.PAS)|*.pas"));
    const QString text = ReadText(PathOf("demo.pas"));
    EXPECT_TRUE(text.startsWith("program example2;\r\n"));
    EXPECT_TRUE(text.contains("x := 1;"));
    EXPECT_EQ(ExportMode, emPlain);

    QFile keep(PathOf("demo.pas"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("mine");
    keep.close();
    Active()->CodeBuffer1.clear();
    Prompts->QueueFileName(PathOf("demo.txt"));
    Prompts->QueueAnswer(false);
    Form().pas1Click();
    EXPECT_EQ(ReadText(PathOf("demo.pas")), "mine");
    EXPECT_EQ(Prompts->Questions().size(), 1);
    EXPECT_FALSE(Active()->CodeBuffer1.isEmpty()); // generated all the same

    Form().pas1Click(); // cancelled
    EXPECT_EQ(ReadText(PathOf("demo.pas")), "mine");
}

TEST_F(AppTest, CppExportAddsItsExtensionOnlyToABareName) {
    StartEditor();
    Form().FileNew1Execute();
    Edit(bkProcess, "x = 1");
    const QString before = Active()->reCode->toPlainText();

    Prompts->QueueFileName(PathOf("prog"));
    Form().C1Click();
    EXPECT_EQ(Prompts->Records().last().Request.InitialDir, Dir());
    EXPECT_EQ(Prompts->Records().last().Request.FileName, "New_FlowChart_1");
    EXPECT_TRUE(ReadText(PathOf("prog.cpp")).contains("x = 1;"));
    EXPECT_EQ(ExportLanguage, elCpp);
    // The C++ text is added below what the code pane held.
    EXPECT_TRUE(Active()->reCode->toPlainText().startsWith(before));
    EXPECT_TRUE(Active()->reCode->toPlainText().contains("x = 1;"));

    Prompts->QueueFileName(PathOf("prog.txt"));
    Form().C1Click();
    EXPECT_TRUE(QFile::exists(PathOf("prog.txt")));

    // A failure names the file once.
    const QString unwritable = PathOf("missing/prog.cpp");
    Prompts->QueueFileName(unwritable);
    Form().C1Click();
    ASSERT_EQ(Prompts->Messages().size(), 1);
    EXPECT_EQ(Prompts->Messages()[0].count(unwritable), 1);
    ExportLanguage = elPascal;
}

TEST(QtPrompts, FiltersBecomeQtNameFilters) {
    EXPECT_EQ(QtNameFilters(QString::fromUtf8("Файлы блок схем XML    формат (.fml)|*.fml")),
              QStringList{QString::fromUtf8("Файлы блок схем XML    формат (*.fml)")});
    EXPECT_EQ(
        QtNameFilters(QString::fromUtf8(
            "Файлы программ (*.PAS)|*.pas;|Файлы программ (*.c*)|*.c*;|Все файлы (*.*)|*.*|")),
        QStringList({QString::fromUtf8("Файлы программ (*.pas)"),
                     QString::fromUtf8("Файлы программ (*.c*)"),
                     QString::fromUtf8("Все файлы (*.*)")}));
    EXPECT_EQ(QtNameFilters("Pictures|*.bmp;*.gif"), QStringList{"Pictures (*.bmp *.gif)"});
    EXPECT_TRUE(QtNameFilters("").isEmpty());
}
