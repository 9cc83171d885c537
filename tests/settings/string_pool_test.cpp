#include "platform/ini_file.h"
#include "settings/builtin_texts.h"
#include "settings/string_pool.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tvx;

namespace {

void WriteFile(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(StringPool, LooksUpWithoutRegardToCaseAndAnswersNotFound) {
    TStringPool pool("Serv");
    FillServDefaults(pool);
    EXPECT_EQ(pool.GetString("SM_YES"), QStringLiteral("Да"));
    EXPECT_EQ(pool.GetString("sm_no_such_id"), "Not found!");
    pool.SetString("sm_no_such_id", "x");
    EXPECT_EQ(pool.GetString("sm_no_such_id"), "Not found!");
    EXPECT_EQ(pool.Count(), 32);
    for (int i = 1; i < pool.Count(); ++i) {
        EXPECT_LT(pool.Items(i - 1).Id.compare(pool.Items(i).Id, Qt::CaseInsensitive), 0);
    }
}

TEST(StringPool, AddingAnIdAgainResetsTheEntry) {
    TStringPool pool("Prog");
    FillProgDefaults(pool);
    pool.SetString("sm_begin", "debut");
    FillProgDefaults(pool);
    EXPECT_EQ(pool.Count(), 30);
    EXPECT_EQ(pool.GetString("sm_begin"), "begin");
    pool.AddEx("SM_BEGIN", "start", false);
    EXPECT_EQ(pool.Count(), 30);
    EXPECT_EQ(pool.GetString("sm_begin"), "start");
    for (int i = 0; i < pool.Count(); ++i) {
        if (pool.Items(i).Id == "sm_begin") {
            EXPECT_FALSE(pool.Items(i).Stored);
            EXPECT_EQ(pool.Items(i).Default, "start");
        }
    }
}

TEST(StringPool, EntriesWithTheSameTextChangeSeparately) {
    TStringPool pool("Prog");
    FillProgDefaults(pool);
    pool.SetString("sm_output", "print");
    EXPECT_EQ(pool.GetString("sm_writeln"), "writeln");
}

TEST(StringPool, IniLoadTouchesOnlyStoredEntries) {
    QTemporaryDir dir;
    QString name = dir.path() + "/Config.ini";
    WriteFile(name, "[Serv]\nsm_yes=Oui\nsm_nameINI=Other.ini\n");
    TStringPool pool("Serv");
    FillServDefaults(pool);
    pool.SetString("sm_no", "changed");
    TIniFile ini(name);
    pool.LoadFromIni(ini);
    EXPECT_EQ(pool.GetString("sm_yes"), "Oui");
    EXPECT_EQ(pool.GetString("sm_nameINI"), "Config.ini");
    EXPECT_EQ(pool.GetString("sm_no"), QStringLiteral("Нет")); // missing key: built-in text
}

class LanguageFileTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString ProgramDir = Dir.path() + "/";
    TPoolLoadable Pool{"Menu", ProgramDir};
    void SetUp() override { FillMenuDefaults(Pool); }
};

TEST_F(LanguageFileTest, FileIsCompletedWithEveryMissingId) {
    WriteFile(ProgramDir + "german.lng", "[Other]\nkeep=me\n[Menu]\nSM_MENU_FILE=Datei\n");
    Pool.LoadFromFile("german.lng");
    EXPECT_EQ(Pool.GetString("sm_menu_file"), "Datei");
    EXPECT_EQ(Pool.GetString("sm_menu_Exit"), "Exit");

    TIniFile ini(ProgramDir + "german.lng");
    QStringList keys = ini.ReadSection("Menu");
    EXPECT_EQ(keys.size(), Pool.Count());
    EXPECT_EQ(keys.front(), "SM_MENU_FILE");
    EXPECT_EQ(ini.ReadString("Menu", "sm_option_Apply", ""), "Apply");
    EXPECT_EQ(ini.ReadString("Other", "keep", ""), "me");
}

TEST_F(LanguageFileTest, MissingFileIsCreatedAndEarlierTextsDoNotSurvive) {
    Pool.SetString("sm_menu_new", "Neu");
    Pool.LoadFromFile("english.lng");
    EXPECT_EQ(Pool.GetString("sm_menu_new"), "New");
    EXPECT_EQ(TIniFile(ProgramDir + "english.lng").ReadSection("Menu").size(), Pool.Count());
}

TEST_F(LanguageFileTest, UnreadableFileIsReportedAsNotRead) {
    ASSERT_TRUE(QDir().mkdir(ProgramDir + "russian.lng"));
    try {
        Pool.LoadFromFile("russian.lng");
        ADD_FAILURE() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_TRUE(e.message().startsWith("Unable to read " + ProgramDir + "russian.lng: "))
            << e.message().toStdString();
    }
}

TEST_F(LanguageFileTest, UnwritableFileRaisesButKeepsTheLoadedTexts) {
    QTemporaryDir other;
    TPoolLoadable pool("Menu", other.path() + "/missing-dir/");
    FillMenuDefaults(pool);
    EXPECT_THROW(pool.LoadFromFile("english.lng"), EIniFileException);
    EXPECT_EQ(pool.GetString("sm_menu_file"), "File");
}

} // namespace
