#include "common/named_pipe.h"
#include "platform/ini_file.h"
#include "settings/builtin_texts.h"
#include "settings/main_settings.h"
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tvx;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString ProgramDir = Dir.path() + "/";
    QString ConfigName = ProgramDir + "Config.ini";
    int Changes = 0;
    int LanguageChanges = 0;

    void WriteConfig(const QByteArray& bytes) {
        QFile f(ConfigName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    std::unique_ptr<TMainSettings> Make() { return std::make_unique<TMainSettings>(ProgramDir); }
    void Count(TMainSettings& s) {
        s.OnChange = [this](TMainSettings*, TSettingsChangedArgs&) { ++Changes; };
        s.OnLanguageChange = [this](TMainSettings*, TSettingsChangedArgs&) { ++LanguageChanges; };
    }
};

void ExpectLayoutDefaults(const TMainSettings& s) {
    EXPECT_EQ(s.pm_shakeY, 9);
    EXPECT_EQ(s.pm_ifangle, 30);
    EXPECT_EQ(s.pm_callproc, 5);
    EXPECT_EQ(s.pm_textbce, 10);
    EXPECT_EQ(s.pm_sertext, 2);
    EXPECT_EQ(s.pm_bcetext, 3);
    EXPECT_EQ(s.pm_shakeX, 3);
    EXPECT_EQ(s.pm_linedge, 3);
    EXPECT_EQ(s.pm_forangle, 45);
    EXPECT_EQ(s.pm_addLine, 15);
    EXPECT_EQ(s.pm_outangle, 60);
    EXPECT_EQ(s.pm_linewid, 1);
    EXPECT_EQ(s.pm_bcebce, 13);
    EXPECT_DOUBLE_EQ(s.pm_wdivh, 2.0);
    EXPECT_DOUBLE_EQ(s.pm_absdel, 0.1);
    EXPECT_EQ(s.cl_def, clBlack);
    EXPECT_EQ(s.cl_sel1, clBlue);
    EXPECT_EQ(s.cl_sel, clRed);
    EXPECT_EQ(s.SourceType, 0);
    EXPECT_EQ(s.MenuLanguage, 1);
    EXPECT_EQ(s.EndFor, " ");
    EXPECT_EQ(s.FontBlock, TFont{});
    EXPECT_EQ(s.FontExport, TFont{});
}

TEST_F(SettingsTest, DefaultsWithoutConfigIni) {
    auto s = Make();
    ExpectLayoutDefaults(*s);
    EXPECT_FALSE(s->pm_saveqe); // the missing key wins over the built-in true
    EXPECT_FALSE(s->PreviewByChanges);
    EXPECT_TRUE(s->pm_delspace && s->pm_DelRw && s->pm_RecogReadd && s->pm_OuAsIn && s->pm_ForOld);
    EXPECT_FALSE(s->pm_alleq || s->pm_addconsole || s->pm_ShakeGOST || s->pm_BlockNum ||
                 s->pm_w2heq);
    EXPECT_EQ(s->PixelFormat, 5);
    EXPECT_TRUE(s->WorkDirectory.isEmpty());
    EXPECT_EQ(s->OpenedFiles.GetCount(), 0);
    EXPECT_EQ(s->ServPool->GetString("sm_yes"), QStringLiteral("Да"));
    EXPECT_EQ(s->MenuPool->GetString("sm_menu_Exit"), "Exit");
    EXPECT_EQ(s->ProgPool->GetString("sm_endop"), ";");
    EXPECT_EQ(s->LanguageFileName(7), "english.lng");
    EXPECT_EQ(s->LanguageFileName(2), "ukraine.lng");
    EXPECT_FALSE(QFile::exists(ConfigName));
}

TEST_F(SettingsTest, DestroyingWritesConfigIniInItsOrder) {
    Make().reset();
    TIniFile ini(ConfigName);
    QStringList expected = {
        "PreviewByChanges", "pm_saveqe",   "pm_delspace", "pm_addconsole", "pm_DelRw",
        "pm_RecogReadd",    "pm_OuAsIn",   "pm_alleq",    "pm_w2heq",      "pm_ForOld",
        "pm_ShakeGOST",     "pm_BlockNum", "SourceType",  "EndFor",        "MenuLanguage",
        "pm_shakeY",        "pm_ifangle",  "pm_callproc", "pm_textbce",    "pm_sertext",
        "pm_bcetext",       "pm_shakeX",   "pm_linedge",  "pm_forangle",   "pm_addLine",
        "pm_outangle",      "pm_linewid",  "pm_bcebce",   "pm_wdivh",      "pm_absdel",
        "cl_def",           "cl_sel1",     "cl_sel"};
    EXPECT_EQ(ini.ReadSection("Option"), expected);
    EXPECT_EQ(ini.ReadString("Option", "pm_saveqe", ""), "0");
    EXPECT_EQ(ini.ReadString("Option", "pm_delspace", ""), "1");
    EXPECT_EQ(ini.ReadString("Option", "pm_wdivh", ""), "2");
    QString tenth = QStringLiteral("0.1").replace(u'.', QLocale::system().decimalPoint());
    EXPECT_EQ(ini.ReadString("Option", "pm_absdel", ""), tenth);
    EXPECT_EQ(ini.ReadString("Option", "cl_sel1", ""), "clBlue");
    EXPECT_EQ(ini.ReadString("FontBlock", "Color", ""), "clWindowText");
    EXPECT_EQ(ini.ReadSection("FontExport"),
              (QStringList{"Name", "CharSet", "Color", "Size", "Style"}));
    EXPECT_EQ(ini.ReadSection("Files"), (QStringList{"WorkDir", "Count"}));
    EXPECT_EQ(
        ini.ReadSection("Serv"),
        (QStringList{"sm_default_file", "sm_default_name", "sm_default_prog", "sm_defaultName",
                     "sm_finish", "sm_no", "sm_option", "sm_start", "sm_yes"}));
    EXPECT_EQ(ini.ReadSection("Prog").size(), 30);

    QFile f(ConfigName);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("[Prog]\n"));
    EXPECT_LT(text.indexOf("[Serv]"), text.indexOf("[Files]"));
    EXPECT_LT(text.indexOf("[Files]"), text.indexOf("[Option]"));
    EXPECT_LT(text.indexOf("[FontBlock]"), text.indexOf("[FontExport]"));
}

TEST_F(SettingsTest, ValuesSurviveWriteAndRead) {
    {
        auto s = Make();
        s->pm_bcebce = 20;
        s->pm_absdel = 1.5;
        s->cl_sel = 0x00123456;
        s->EndFor = " ";
        s->SourceType = 1;
        s->MenuLanguage = 0;
        s->pm_saveqe = true;
        s->WorkDirectory = "/home/user/charts/";
        s->FontBlock = TFont{"Arial", 204, clNavy, 12, fsBold | fsItalic};
        s->ServPool->SetString("sm_start", QStringLiteral("Начало работы"));
        s->ProgPool->SetString("sm_begin", "  begin  ");
        s->OpenedFiles.Add("/a.fml");
        s->OpenedFiles.Add("/b.fml");
    }
    auto s = Make();
    EXPECT_EQ(s->pm_bcebce, 20);
    EXPECT_DOUBLE_EQ(s->pm_absdel, 1.5);
    EXPECT_EQ(s->cl_sel, 0x00123456u);
    EXPECT_EQ(s->EndFor, " ");
    EXPECT_EQ(s->SourceType, 1);
    EXPECT_EQ(s->MenuLanguage, 0);
    EXPECT_TRUE(s->pm_saveqe);
    EXPECT_EQ(s->WorkDirectory, "/home/user/charts/");
    EXPECT_EQ(s->FontBlock, (TFont{"Arial", 204, clNavy, 12, fsBold | fsItalic}));
    EXPECT_EQ(s->ServPool->GetString("sm_start"), QStringLiteral("Начало работы"));
    EXPECT_EQ(s->ProgPool->GetString("sm_begin"), "  begin  ");
    ASSERT_EQ(s->OpenedFiles.GetCount(), 2);
    EXPECT_EQ(s->OpenedFiles.Get(0), "/b.fml");
}

TEST_F(SettingsTest, RecentFilesComeBackInStoredOrder) {
    WriteConfig("[Files]\nCount=3\n0=/x.fml\n2=/z.fml\n");
    auto s = Make();
    ASSERT_EQ(s->OpenedFiles.GetCount(), 3);
    EXPECT_EQ(s->OpenedFiles.Get(0), "/x.fml");
    EXPECT_EQ(s->OpenedFiles.Get(1), "");
    EXPECT_EQ(s->OpenedFiles.Get(2), "/z.fml");
}

TEST_F(SettingsTest, TwoRunningEditorsKeepEachOthersChanges) {
    WriteConfig("[Files]\nWorkDir=/old/\nCount=1\n0=/shared.fml\n");
    auto first = Make();
    auto second = Make();
    first->OpenedFiles.Add("/first.fml");
    first->OpenedFiles.Delete(1); // "/shared.fml", gone from the disk
    first->pm_bcebce = 20;
    second->OpenedFiles.Add("/second.fml");
    second->WorkDirectory = "/second/";
    second.reset();
    first.reset(); // last, with the working directory it read at start

    auto s = Make();
    EXPECT_EQ(s->WorkDirectory, "/second/");
    EXPECT_EQ(s->pm_bcebce, 20);
    ASSERT_EQ(s->OpenedFiles.GetCount(), 2);
    EXPECT_EQ(s->OpenedFiles.Get(0), "/first.fml");
    EXPECT_EQ(s->OpenedFiles.Get(1), "/second.fml");
}

TEST_F(SettingsTest, AConfigThatIsNoRegularFileIsNeitherWaitedForNorReplaced) {
    tvx::testing::TNamedPipe pipe(ConfigName);
    if (!pipe.Error().isEmpty()) {
        GTEST_SKIP() << "no named pipe can be made here: " << pipe.Error().toStdString();
    }
    QElapsedTimer clock;
    clock.start();
    auto s = Make();
    EXPECT_LT(clock.elapsed(), 1000);
    ExpectLayoutDefaults(*s);
    try {
        s->SaveToIni();
        ADD_FAILURE() << "the pipe was replaced";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.message(), "Unable to write to " + ConfigName + ": " +
                                   MenuTextOf(QStringLiteral("sm_mes_not_regular")));
    }
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(ConfigName).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    s->OnSaveError = [](const QString&) {};
}

TEST_F(SettingsTest, GarbageConfigLoadsWithDefaults) {
    QByteArray garbage = "[Files]\nCount=many\n[Option]\npm_bcebce=99999999999\n"
                         "pm_ifangle=90\npm_shakeY=-5\npm_wdivh=inf\npm_absdel=1e300\n"
                         "SourceType=-1\nMenuLanguage=300\npm_alleq=maybe\ncl_def=clNowhere\n"
                         "[FontBlock]\nSize=0\nCharSet=999\nStyle=abc\n";
    static const char binary[] = "\x00\xff\xfe[Serv\n=\n==\n\x01\x02=\x03\n[]\n";
    garbage += QByteArray(binary, sizeof binary - 1);
    WriteConfig(garbage);
    auto s = Make();
    ExpectLayoutDefaults(*s);
    EXPECT_FALSE(s->pm_alleq);
    EXPECT_EQ(s->OpenedFiles.GetCount(), 0);
    s.reset(); // and it writes the file back without complaint
    EXPECT_EQ(TIniFile(ConfigName).ReadInteger("Option", "pm_bcebce", 0), 13);

    // A huge count over a few keys costs no more than the keys, wherever
    // they lie; keys at the end of the number range are just keys.
    const std::vector<std::pair<const char*, QStringList>> sparse = {
        {"[Files]\nCount=2000000000\n0=/a.fml\n", {"/a.fml", ""}},
        {"[Files]\nCount=2000000000\n1999999999=/a.fml\n", {"", "/a.fml"}},
        {"[Files]\nCount=2147483647\n2147483646=/a.fml\n2147483647=/b.fml\n", {"", "/a.fml"}},
    };
    for (const auto& [config, names] : sparse) {
        WriteConfig(config);
        s = Make();
        ASSERT_EQ(s->OpenedFiles.GetCount(), 2) << config;
        EXPECT_EQ(QStringList({s->OpenedFiles.Get(0), s->OpenedFiles.Get(1)}), names) << config;
    }
}

TEST_F(SettingsTest, LanguagesThisProgramDoesNotKnowAreKept) {
    WriteConfig("[Option]\nSourceType=2\nMenuLanguage=7\n");
    auto s = Make();
    EXPECT_EQ(s->SourceType, 2);
    EXPECT_EQ(s->MenuLanguage, 7);
    s.reset();
    EXPECT_EQ(TIniFile(ConfigName).ReadInteger("Option", "MenuLanguage", 0), 7);
}

TEST_F(SettingsTest, HexadecimalNumbersAndColourNumbersAreRead) {
    WriteConfig("[Option]\npm_bcebce=$14\npm_linedge=0x5\ncl_def=$000000FF\ncl_sel=16711680\n");
    auto s = Make();
    EXPECT_EQ(s->pm_bcebce, 20);
    EXPECT_EQ(s->pm_linedge, 5);
    EXPECT_EQ(s->cl_def, clRed);
    EXPECT_EQ(s->cl_sel, clBlue);
}

TEST_F(SettingsTest, SettersNotifyOnlyOnChange) {
    auto s = Make();
    Count(*s);
    s->SetBceBce(13);
    s->SetAbsDel(0.1);
    s->SetForOld(true);
    EXPECT_EQ(Changes, 0);
    s->SetBceBce(14);
    s->SetSourceType(1);
    EXPECT_EQ(Changes, 2);
    EXPECT_EQ(s->pm_bcebce, 14);
    s->SetFontBlock(s->FontBlock);
    EXPECT_EQ(Changes, 3);
    EXPECT_EQ(LanguageChanges, 0);
}

TEST_F(SettingsTest, UpdateBracketHoldsChangesBackUntilTheOuterEnd) {
    auto s = Make();
    Count(*s);
    s->BeginUpdate();
    s->BeginUpdate();
    s->SetIfAngle(40);
    s->SetOutAngle(70);
    s->EndUpdate();
    EXPECT_EQ(Changes, 0);
    s->EndUpdate();
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(LanguageChanges, 1);
    s->EndUpdate(); // unpaired: ignored
    s->SetIfAngle(50);
    EXPECT_EQ(Changes, 2);
    s->LoadFromIni();
    EXPECT_EQ(Changes, 3);
    EXPECT_EQ(LanguageChanges, 2);
}

TEST_F(SettingsTest, MenuLanguageLoadsTheFileEvenWhenUnchanged) {
    auto s = Make();
    Count(*s);
    s->SetMenuLanguage(1);
    EXPECT_TRUE(QFile::exists(ProgramDir + "russian.lng"));
    EXPECT_EQ(LanguageChanges, 0);
    QFile f(ProgramDir + "german.lng");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Menu]\nsm_menu_file=Datei\n");
    f.close();
    s->SetMenuLanguage(3);
    EXPECT_EQ(LanguageChanges, 1);
    EXPECT_EQ(s->MenuLanguage, 3);
    EXPECT_EQ(s->MenuPool->GetString("sm_menu_file"), "Datei");
    EXPECT_EQ(Changes, 0);
}

TEST_F(SettingsTest, AssignCopiesChoicesButNotLooks) {
    auto src = Make();
    src->WorkDirectory = "/w/";
    src->OpenedFiles.Add("/a.fml");
    src->pm_bcebce = 30;
    src->EndFor = "end";
    src->MenuLanguage = 4;
    src->pm_alleq = true;
    src->cl_def = clGreen;
    src->pm_wdivh = 3;
    src->LangProg = 2;
    src->pm_BlockNum = true;
    src->FontBlock.Size = 20;
    auto dst = Make();
    Count(*dst);
    dst->Assign(src.get());
    dst->Assign(nullptr);
    EXPECT_EQ(dst->WorkDirectory, "/w/");
    EXPECT_EQ(dst->OpenedFiles.Get(0), "/a.fml");
    EXPECT_EQ(dst->pm_bcebce, 30);
    EXPECT_EQ(dst->EndFor, "end");
    EXPECT_EQ(dst->MenuLanguage, 4);
    EXPECT_TRUE(dst->pm_alleq);
    EXPECT_EQ(dst->cl_def, clBlack);
    EXPECT_DOUBLE_EQ(dst->pm_wdivh, 2.0);
    EXPECT_EQ(dst->LangProg, 0);
    EXPECT_FALSE(dst->pm_BlockNum);
    EXPECT_EQ(dst->FontBlock.Size, 8);
    EXPECT_EQ(Changes + LanguageChanges, 0);
}

TEST_F(SettingsTest, DefaultsOnAFilledObjectResetWithoutDuplicates) {
    auto s = Make();
    s->ServPool->SetString("sm_yes", "Ja");
    s->pm_bcebce = 40;
    s->EndFor = "x";
    s->SetDefaults();
    EXPECT_EQ(s->ServPool->Count(), 32);
    TStringPool freshMenu("Menu");
    FillMenuDefaults(freshMenu);
    EXPECT_EQ(s->MenuPool->Count(), freshMenu.Count());
    EXPECT_EQ(s->ProgPool->Count(), 30);
    EXPECT_EQ(s->ServPool->GetString("sm_yes"), QStringLiteral("Да"));
    EXPECT_EQ(s->pm_bcebce, 13);
    EXPECT_EQ(s->EndFor, "x");
    EXPECT_TRUE(s->pm_saveqe);
}

TEST_F(SettingsTest, UnwritableConfigIsReportedNotThrownFromTheDestructor) {
    QString badDir = ProgramDir + "missing/";
    auto s = std::make_unique<TMainSettings>(badDir);
    EXPECT_THROW(s->SaveToIni(), EIniFileException);
    QString reported;
    s->OnSaveError = [&](const QString& m) { reported = m; };
    s.reset();
    EXPECT_EQ(reported, "Unable to write to " + badDir + "Config.ini: No such file or directory");
}

} // namespace
