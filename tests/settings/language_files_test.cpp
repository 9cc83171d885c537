// The language files shipped with the editor, loaded the way the editor loads
// them: through the settings object, from a copy in a temporary program
// directory (the shipped files and the build's copies are never written).
#include "platform/ini_file.h"
#include "settings/main_settings.h"
#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tvx;

namespace {

const QString ShippedDir = QStringLiteral(TVX_LANG_DIR);

QByteArray ReadBytes(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Shipped {
    TMenuLanguage Language;
    const char* MenuFile; // the expected text of sm_menu_file
};

void PrintTo(const Shipped& S, std::ostream* Os) {
    *Os << S.MenuFile;
}

std::string LanguageName(const ::testing::TestParamInfo<Shipped>& Info) {
    static const char* const Names[] = {"English", "Russian", "Ukrainian", "German", "Hungarian"};
    return Names[Info.param.Language];
}

class ShippedLanguageFile : public ::testing::TestWithParam<Shipped> {
protected:
    QTemporaryDir Dir;
    QString ProgramDir = Dir.path() + "/";
    std::unique_ptr<TMainSettings> Settings = std::make_unique<TMainSettings>(ProgramDir);
    QString FileName = Settings->LanguageFileName(GetParam().Language);
    QByteArray Bytes = ReadBytes(ShippedDir + FileName);

    void SetUp() override {
        ASSERT_FALSE(Bytes.isEmpty()) << "missing " << (ShippedDir + FileName).toStdString();
        QFile copy(ProgramDir + FileName);
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        ASSERT_EQ(copy.write(Bytes), Bytes.size());
    }
    const TPoolLoadable& Menu() const { return *Settings->MenuPool; }
};

TEST_P(ShippedLanguageFile, IsPlainUtf8WithOneKindOfLineEnd) {
    EXPECT_FALSE(Bytes.startsWith("\xEF\xBB\xBF")) << "byte order mark";
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(Bytes);
    EXPECT_FALSE(utf8.hasError());
    EXPECT_FALSE(Bytes.contains('\r')) << "the editor writes its files with LF line ends";
    EXPECT_TRUE(Bytes.endsWith('\n'));
}

TEST_P(ShippedLanguageFile, HoldsEveryMenuIdOnceAndNothingElse) {
    TIniFile ini(ProgramDir + FileName);
    QStringList keys = ini.ReadSection(Menu().Name());
    QSet<QString> known;
    for (int i = 0; i < Menu().Count(); ++i) {
        known.insert(Menu().Items(i).Id);
    }
    QSet<QString> seen;
    for (const QString& key : keys) {
        EXPECT_TRUE(known.contains(key)) << "unknown or misspelt id " << key.toStdString();
        EXPECT_FALSE(seen.contains(key)) << "repeated id " << key.toStdString();
        seen.insert(key);
    }
    EXPECT_EQ(seen, known);
    EXPECT_EQ(Bytes.count('['), 1) << "one section, [Menu]";
}

TEST_P(ShippedLanguageFile, LoadsEveryTextAndLeavesTheFileAsItWas) {
    Settings->LoadLanguage(GetParam().Language);

    EXPECT_EQ(ReadBytes(ProgramDir + FileName), Bytes) << "loading completed or rewrote the file";
    TIniFile ini(ProgramDir + FileName);
    for (int i = 0; i < Menu().Count(); ++i) {
        const TStringFullData& entry = Menu().Items(i);
        EXPECT_FALSE(entry.Text.trimmed().isEmpty()) << entry.Id.toStdString();
        EXPECT_EQ(entry.Text, ini.ReadString(Menu().Name(), entry.Id, QString()))
            << entry.Id.toStdString();
    }
    EXPECT_EQ(Menu().GetString("sm_menu_file"), QString::fromUtf8(GetParam().MenuFile));
}

TEST_P(ShippedLanguageFile, KeepsTheEllipsesOfTheEnglishTexts) {
    Settings->LoadLanguage(GetParam().Language);
    for (int i = 0; i < Menu().Count(); ++i) {
        const TStringFullData& entry = Menu().Items(i);
        if (entry.Default.endsWith("...")) {
            EXPECT_TRUE(entry.Text.endsWith("...")) << entry.Id.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLanguageFile,
                         ::testing::Values(Shipped{mlEnglish, "File"}, Shipped{mlRussian, "Файл"},
                                           Shipped{mlUkrainian, "Файл"}, Shipped{mlGerman, "Datei"},
                                           Shipped{mlHungarian, "Fájl"}),
                         LanguageName);

// The English file is the one the editor writes itself when it starts without
// one, so shipping it changes nothing but the time of its creation.
TEST(EnglishLanguageFile, IsWhatTheEditorWritesOnFirstStart) {
    QTemporaryDir dir;
    TMainSettings settings(dir.path() + "/");
    settings.LoadLanguage(mlEnglish);
    EXPECT_EQ(ReadBytes(dir.path() + "/english.lng"), ReadBytes(ShippedDir + "english.lng"));
}

} // namespace
