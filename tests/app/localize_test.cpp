// Interface languages and the recent-files entries of the File menu.
#include "app/option_form.h"
#include "app_fixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTextStream>

using namespace tvx;

namespace {

QStringList MenuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* item : menu->actions()) {
        texts.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    return texts;
}

void WriteLanguageFile(const QString& FileName, const QStringList& Lines) {
    QFile file(FileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Text));
    QTextStream out(&file);
    out << "[Menu]\n";
    for (const QString& line : Lines) {
        out << line << "\n";
    }
}

// A translation file of Qt's format holding no text but its language.
void WriteQtTranslation(const QString& FileName, const QByteArray& Language) {
    QByteArray bytes = QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd");
    bytes += char(0xa7); // the language block, its length big-endian
    bytes += QByteArray::fromHex("000000") + char(Language.size()) + Language;
    QFile file(FileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST_F(AppTest, QtsOwnTextsFollowTheInterfaceLanguage) {
    QDir().mkpath(PathOf("qt"));
    WriteQtTranslation(PathOf("qt/qtbase_ru.qm"), "ru");
    WriteQtTranslation(PathOf("qt/qtbase_de.qm"), "de");
    StartEditor();
    Form().QtTranslations.Directory = PathOf("qt");
    auto language = [&]() -> QString {
        const QTranslator* current = Form().QtTranslations.Current();
        return current != nullptr ? current->language() : QStringLiteral("none");
    };
    Form().English1Click(mlRussian);
    EXPECT_EQ(language(), "ru");
    Form().English1Click(mlGerman);
    EXPECT_EQ(language(), "de");
    Form().English1Click(mlEnglish);
    EXPECT_EQ(language(), "none");
    Form().English1Click(mlUkrainian); // no file: Qt's English
    EXPECT_EQ(language(), "none");
}

TEST_F(AppTest, LanguageSwitchRelabelsTheMenusOfEveryWindow) {
    WriteLanguageFile(PathOf("ukraine.lng"), {QString::fromUtf8("sm_menu_file=Файл"),
                                              QString::fromUtf8("sm_panel_proc=Процес"),
                                              QString::fromUtf8("sm_panel_add=Додавання"),
                                              QString::fromUtf8("sm_menu_refresh=Оновити"),
                                              QString::fromUtf8("sm_option_Caption=Налаштування")});
    WriteChartFile(PathOf("opened.fml"), 1);
    StartEditor();
    EXPECT_EQ(Form().File1->title(), "File");
    Form().FileNew1Execute();
    ASSERT_TRUE(Form().FileOpenFML(PathOf("opened.fml")));
    EXPECT_EQ(Form().MDIChildren()[0]->N1->text(), "Process");

    const QList<QAction*> languages = Form().nLSelect->actions();
    ASSERT_EQ(languages.size(), 5);
    EXPECT_EQ(languages[2]->text(), "Ukraine");
    EXPECT_FALSE(languages[3]->isVisible());
    languages[2]->trigger();

    EXPECT_EQ(MainSettings->MenuLanguage, 2);
    EXPECT_EQ(Form().File1->title(), QString::fromUtf8("Файл"));
    EXPECT_EQ(Form().sbProcess->toolTip(), QString::fromUtf8("Процес"));
    EXPECT_EQ(Form().sbAdd->statusTip(), QString::fromUtf8("Додавання"));
    for (TMDIChild* child : Form().MDIChildren()) {
        EXPECT_EQ(child->N1->text(), QString::fromUtf8("Процес"));
        EXPECT_EQ(child->N2->title(), QString::fromUtf8("Додавання"));
        EXPECT_EQ(child->N10->text(), QString::fromUtf8("Оновити"));
    }
    EXPECT_TRUE(languages[2]->isChecked());
    EXPECT_FALSE(languages[1]->isChecked());
    // Ids the file lacks keep their built-in text, and the file gets them all.
    EXPECT_EQ(Form().mSave->text(), "Save");
    QFile written(PathOf("ukraine.lng"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("sm_menu_save=Save"));
    EXPECT_EQ(Form().GetOption()->windowTitle(), QString::fromUtf8("Налаштування"));
    // Fixed texts stay in every language.
    EXPECT_EQ(Form().SpeedButton10->toolTip(), QString::fromUtf8("Экспорт в Паскаль"));

    languages[0]->trigger();
    EXPECT_EQ(Form().File1->title(), "File");
    EXPECT_TRUE(languages[0]->isChecked());
    EXPECT_FALSE(languages[2]->isChecked());
}

TEST_F(AppTest, AnInterfaceLanguageOfNoItemShowsEnglish) {
    WriteLanguageFile(PathOf("english.lng"), {"sm_menu_file=File (en)"});
    MainSettings->MenuLanguage = 7; // as a Config.ini of another version may hold
    StartEditor();
    EXPECT_EQ(Form().File1->title(), "File (en)");
    for (QAction* item : Form().nLSelect->actions()) {
        EXPECT_FALSE(item->isChecked()) << item->text().toStdString();
    }
    EXPECT_EQ(MainSettings->MenuLanguage, 7);
}

TEST_F(AppTest, SourceLanguageItemsFollowTheSetting) {
    StartEditor();
    EXPECT_TRUE(Form().mnDelphi->isChecked());
    Form().mnCpp->trigger();
    EXPECT_EQ(MainSettings->SourceType, 1);
    EXPECT_TRUE(Form().mnCpp->isChecked());
    EXPECT_FALSE(Form().mnDelphi->isChecked());
    // Choosing the language already chosen keeps its mark.
    Form().mnCpp->trigger();
    EXPECT_TRUE(Form().mnCpp->isChecked());
    EXPECT_FALSE(Form().mnDelphi->isChecked());
    Form().cbPreview->setChecked(true);
    EXPECT_TRUE(MainSettings->PreviewByChanges);
}

TEST_F(AppTest, RecentFilesAreListedOldestFirstAboveExit) {
    MainSettings->OpenedFiles.Add(PathOf("C.fml"));
    MainSettings->OpenedFiles.Add(PathOf("B.fml"));
    MainSettings->OpenedFiles.Add(PathOf("A.fml"));
    StartEditor();
    EXPECT_EQ(MenuTexts(Form().File1), QStringList({"New", "Open", "Save as ...", "Save", "-",
                                                    "C.fml", "B.fml", "A.fml", "-", "Exit"}));
    EXPECT_EQ(Form().File1->actions()[5]->statusTip(), PathOf("C.fml"));

    WriteChartFile(PathOf("D.fml"), 1);
    Prompts->QueueFileName(PathOf("D.fml"));
    Form().FileOpen1Execute();
    EXPECT_EQ(MenuTexts(Form().File1),
              QStringList({"New", "Open", "Save as ...", "Save", "-", "C.fml", "B.fml", "A.fml",
                           "D.fml", "-", "Exit"}));
}

TEST_F(AppTest, ARecentFileThatIsGoneIsDroppedAndOneThatIsThereOpens) {
    WriteChartFile(PathOf("there.fml"), 2);
    MainSettings->OpenedFiles.Add(PathOf("there.fml"));
    MainSettings->OpenedFiles.Add(PathOf("gone.fml"));
    StartEditor();
    // Menu: there.fml, gone.fml (newest last).
    QAction* gone = Form().File1->actions()[6];
    ASSERT_EQ(gone->text(), "gone.fml");
    gone->trigger();
    Settle();
    EXPECT_EQ(Form().MDIChildCount(), 0);
    EXPECT_EQ(MainSettings->OpenedFiles.GetCount(), 1);
    EXPECT_TRUE(Prompts->Records().isEmpty());
    EXPECT_EQ(MenuTexts(Form().File1),
              QStringList({"New", "Open", "Save as ...", "Save", "-", "there.fml", "-", "Exit"}));

    Form().File1->actions()[5]->trigger();
    ASSERT_EQ(Form().MDIChildCount(), 1);
    EXPECT_EQ(Active()->Caption(), PathOf("there.fml"));
    EXPECT_EQ(Active()->Chart->Count(), 3);
}
