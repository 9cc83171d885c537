#include "platform/cp1251.h"
#include "platform/ini_file.h"
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tvx;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString Name = Dir.path() + QStringLiteral("/test.ini");

    void WriteBytes(const QByteArray& bytes) {
        QFile f(Name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray ReadBytes() {
        QFile f(Name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(IniFileTest, WritesCreateReplaceInPlaceAndAppendAtSectionEnd) {
    {
        TIniFile ini(Name);
        ini.WriteString("A", "one", "1");
        ini.WriteString("B", "two", "2");
        ini.UpdateFile();
    }
    EXPECT_EQ(ReadBytes(), "[A]\none=1\n[B]\ntwo=2\n");

    WriteBytes("; comment\n[A]\none=1\n\n[B]\ntwo=2\n");
    TIniFile ini(Name);
    ini.WriteString("a", "ONE", "first"); // in place, the file's spelling kept
    ini.WriteString("A", "three", "3");   // end of [A], before the blank line
    ini.WriteString("C", "four", "4");    // new section at the end
    ini.WriteInteger("B", "two", 2);      // same value: nothing to write
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(), "; comment\n[A]\none=first\nthree=3\n\n[B]\ntwo=2\n[C]\nfour=4\n");
}

TEST_F(IniFileTest, SectionsAndKeysAreFoundWithoutRegardToCase) {
    WriteBytes("[Option]\npm_BceBce = 20\n[option]\nlate=1\n");
    TIniFile ini(Name);
    EXPECT_EQ(ini.ReadInteger("OPTION", "PM_BCEBCE", 0), 20);
    EXPECT_TRUE(ini.SectionExists("oPtIoN"));
    // The first of two equal sections is the one used.
    EXPECT_FALSE(ini.ValueExists("Option", "late"));
    EXPECT_EQ(ini.ReadSection("Option"), QStringList{"pm_BceBce"});
}

TEST_F(IniFileTest, NumbersBooleansAndFloatsFallBackToTheDefault) {
    WriteBytes(
        "[S]\nhex=$1F\nhex2=0x1f\nneg=-7\nhuge=99999999999\nword=abc\nempty=\n"
        "t=5\nm=-1\nf=0\ncomma=0,5\ndot=2.25\nnan=nan\nff=$FFFFFFFF\n"
        "wide=$FFFFFFFFFFFFFFFF\nwider=-99999999999999999999\nzeros=000000000000000000042\n");
    TIniFile ini(Name);
    EXPECT_EQ(ini.ReadInteger("S", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "hex2", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "neg", 0), -7);
    EXPECT_EQ(ini.ReadInteger("S", "ff", 0), -1);
    EXPECT_EQ(ini.ReadInteger("S", "huge", 4), 4);
    EXPECT_EQ(ini.ReadInteger("S", "wide", 4), 4);
    EXPECT_EQ(ini.ReadInteger("S", "wider", 4), 4);
    EXPECT_EQ(ini.ReadInteger("S", "zeros", 4), 42);
    EXPECT_EQ(ini.ReadInteger("S", "word", 4), 4);
    EXPECT_EQ(ini.ReadInteger("S", "empty", 4), 4);
    EXPECT_EQ(ini.ReadInteger("S", "missing", 4), 4);
    EXPECT_TRUE(ini.ReadBool("S", "t", false));
    EXPECT_TRUE(ini.ReadBool("S", "m", false));
    EXPECT_FALSE(ini.ReadBool("S", "f", true));
    EXPECT_TRUE(ini.ReadBool("S", "word", true));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "comma", 1), 0.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "dot", 1), 2.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "nan", 1), 1);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "word", 1), 1);
}

TEST_F(IniFileTest, WrittenFormsOfBooleansAndFloats) {
    TIniFile ini(Name);
    ini.WriteBool("S", "yes", true);
    ini.WriteBool("S", "no", false);
    ini.WriteFloat("S", "f", 0.1);
    ini.WriteFloat("S", "g", 2.0);
    ini.UpdateFile();
    QString tenth = QStringLiteral("0.1").replace(u'.', QLocale::system().decimalPoint());
    EXPECT_EQ(QString::fromUtf8(ReadBytes()), "[S]\nyes=1\nno=0\nf=" + tenth + "\ng=2\n");
    EXPECT_DOUBLE_EQ(TIniFile(Name).ReadFloat("S", "f", 0), 0.1);
}

TEST_F(IniFileTest, BlanksAroundValuesSurviveARoundTrip) {
    {
        TIniFile ini(Name);
        ini.WriteString("S", "blank", " ");
        ini.WriteString("S", "padded", "  a b  ");
        ini.WriteString("S", "quoted", "\"q\"");
        ini.WriteString("S", "lines", "one\r\ntwo\nthree");
        ini.UpdateFile();
    }
    TIniFile ini(Name);
    EXPECT_EQ(ini.ReadString("S", "blank", "x"), " ");
    EXPECT_EQ(ini.ReadString("S", "padded", "x"), "  a b  ");
    EXPECT_EQ(ini.ReadString("S", "quoted", "x"), "\"q\"");
    EXPECT_EQ(ini.ReadString("S", "lines", "x"), "one two three");

    WriteBytes("[S]\n  key  =  spaced value \r\n");
    EXPECT_EQ(TIniFile(Name).ReadString("S", "key", "x"), "spaced value");
}

TEST_F(IniFileTest, ReadsUtf8OrWindows1251AndWritesUtf8) {
    const QString russian = QStringLiteral("Начало");
    WriteBytes("[Serv]\nsm_start=" + EncodeCp1251(russian) + "\n");
    TIniFile ini(Name);
    EXPECT_EQ(ini.ReadString("Serv", "sm_start", ""), russian);
    ini.WriteString("Serv", "sm_finish", QStringLiteral("Конец"));
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(), QStringLiteral("[Serv]\nsm_start=Начало\nsm_finish=Конец\n").toUtf8());
}

TEST_F(IniFileTest, UnwritableFileRaisesWithTheFileName) {
    QString name = Dir.path() + QStringLiteral("/no/such/dir/x.ini");
    TIniFile ini(name);
    ini.WriteString("S", "k", "v");
    try {
        ini.UpdateFile();
        FAIL() << "expected an exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.message(), "Unable to write to " + name + ": No such file or directory");
    }

    // A file that needs no change is not written, so it may be read-only.
    WriteBytes("[S]\nk=v\n");
    TIniFile same(Name);
    same.WriteString("S", "k", "v");
    EXPECT_FALSE(same.Modified());
}

} // namespace
