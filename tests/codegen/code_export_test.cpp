#include "codegen/code_export.h"
#include "codegen/file_names.h"
#include "codegen/text_file.h"
#include "codegen_fixture.h"
#include <QFile>
#include <cerrno>
#include <cstring>

namespace tvx {
namespace {

QByteArray ReadAll(const QString& fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteBytes(const QString& fileName, const QByteArray& bytes) {
    QFile f(fileName);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class CodeExport : public CodegenTest {
protected:
    void SetUp() override {
        CodegenTest::SetUp();
        Append(bkProcess, "x := 1");
    }
    QString Path(const QString& name) const { return Dir.filePath(name); }

    TCodeExporter Exporter() { return TCodeExporter(*Settings, Chart, Buffer1, Buffer2); }
    TAskReplace Answer(bool yes) {
        return [this, yes](const QString& question) {
            Questions << question;
            return yes;
        };
    }

    QStringList Buffer1{"old"};
    QStringList Buffer2{"old"};
    QStringList Questions;
};

const QByteArray PascalFile = "program Demo;\r\nbegin\r\n    x := 1;\r\nend.\r\n";

TEST_F(CodeExport, SinkAddsEveryLineToBothBuffers) {
    QStringList b1{"sign"}, b2;
    TCodeSink sink(b1, b2);
    sink.SaveToPasFile("a");
    sink.SaveToPasFile("b");
    EXPECT_EQ(b1, QStringList({"sign", "a", "b"}));
    EXPECT_EQ(b2, QStringList({"a", "b"}));
}

TEST_F(CodeExport, PascalExportDropsEveryExtension) {
    const TExportResult r = Exporter().ExportPascal(Path("demo.txt.fml"), Answer(true));
    EXPECT_EQ(r.Status, TExportResult::Written);
    EXPECT_EQ(r.FileName, Path("demo.pas"));
    EXPECT_EQ(ReadAll(Path("demo.pas")), PascalFile);
    EXPECT_TRUE(Questions.isEmpty());
    EXPECT_EQ(Buffer1, Buffer2);
    EXPECT_EQ(Buffer2.first(), "program Demo;");
    EXPECT_EQ(ExportLanguage, elPascal);
    EXPECT_EQ(ExportMode, emPlain);
}

TEST_F(CodeExport, PascalExportOverExistingFileAsksFirst) {
    const QString name = Path("demo.pas");
    WriteBytes(name, "mine");
    ExportLanguage = elBasic;
    const TExportResult no = Exporter().ExportPascal(name, Answer(false));
    EXPECT_EQ(no.Status, TExportResult::Declined);
    EXPECT_EQ(ReadAll(name), "mine");
    EXPECT_EQ(Buffer2, QStringList({"program Demo;", "begin", "    x := 1;", "end."}));
    EXPECT_EQ(Questions, QStringList({"File  " + name + "\r\nNow exist! ReSave it?"}));

    const TExportResult yes = Exporter().ExportPascal(name, Answer(true));
    EXPECT_EQ(yes.Status, TExportResult::Written);
    EXPECT_EQ(ReadAll(name), PascalFile);
}

TEST_F(CodeExport, CppExportWritesAFreshFile) {
    EXPECT_EQ(Exporter().CppFileName("prog"), "prog.cpp");
    EXPECT_EQ(Exporter().CppFileName("prog.txt"), "prog.txt");

    const QString name = Path("prog.cpp");
    WriteBytes(name, "earlier export\r\n");
    const TExportResult r = Exporter().ExportCpp(Path("prog"), Answer(true));
    EXPECT_EQ(r.Status, TExportResult::Written);
    EXPECT_EQ(Questions.size(), 1);
    EXPECT_EQ(ReadAll(name), "program () //Demo\r\nbegin\r\n    x := 1;\r\nend\r\n");
    EXPECT_EQ(ExportLanguage, elCpp);
    EXPECT_EQ(ExportMode, emPlain);

    Exporter().ExportCpp(name, Answer(false));
    EXPECT_EQ(ReadAll(name), "program () //Demo\r\nbegin\r\n    x := 1;\r\nend\r\n");
}

TEST_F(CodeExport, ExportToAnUnwritablePlaceFails) {
    const TExportResult r = Exporter().ExportCpp(Path("no/such/dir/prog"), Answer(true));
    EXPECT_EQ(r.Status, TExportResult::Failed);
    EXPECT_FALSE(r.Error.isEmpty());
    EXPECT_EQ(ExportMode, emPlain);

    // A name the system will not even look at is no "absent" file: nothing
    // is asked, and the reason is the system's.
    WriteBytes(Path("plain"), "a file");
    const TExportResult refused = Exporter().ExportCpp(Path("plain/prog"), Answer(true));
    EXPECT_EQ(refused.Status, TExportResult::Failed);
    EXPECT_EQ(refused.Error, QString::fromLocal8Bit(std::strerror(ENOTDIR)));
    EXPECT_TRUE(Questions.isEmpty());
}

TEST_F(CodeExport, AnnotatedTextOfRootOnlyChartHasFourLines) {
    TFCList empty;
    empty.AddBlock(nullptr, bkRoot, -1, "Only", nullptr);
    QStringList b1, b2;
    const QString name = Path("only.fc2");
    EXPECT_EQ(TCodeExporter(*Settings, empty, b1, b2).SaveAnnotatedText(name).Status,
              TExportResult::Written);
    EXPECT_EQ(ReadAll(name), "{saved by Tarvinex}\r\nprogram Only;\r\nbegin\r\nend.\r\n");
    EXPECT_EQ(b2, QStringList({"program Only;", "begin", "end."}));
}

TEST_F(CodeExport, AnnotatedTextKeepsLineBreaksAndRestoresLanguageAndCleanUp) {
    Append(bkOutput, "'a',\r\n'b'");
    ExportLanguage = elCpp;
    const QString name = Path("chart.fc2");
    WriteBytes(name, "something longer that is replaced entirely");
    EXPECT_EQ(Exporter().SaveAnnotatedText(name).Status, TExportResult::Written);
    EXPECT_EQ(ReadAll(name), "{saved by Tarvinex}\r\nprogram Demo;\r\nbegin\r\n"
                             "    x := 1;{TVX_type_0}\r\n"
                             "    writeln('a',\r\n'b');{TVX_type_8}\r\nend.\r\n");
    EXPECT_EQ(ExportLanguage, elCpp);
    EXPECT_TRUE(TextCleanUp);
    EXPECT_EQ(ExportMode, emPlain);

    // The same chart exported with clean-up on has one line per statement.
    Exporter().ExportPascal(Path("chart"), Answer(true));
    EXPECT_EQ(Buffer2[3], "    writeln('a', 'b');");
}

TEST(FileNames, ExtensionsEndAtTheLastSeparator) {
    EXPECT_EQ(RemoveExtensions("/home/u/demo.fml"), "/home/u/demo");
    EXPECT_EQ(RemoveExtensions("a.b.fml"), "a");
    EXPECT_EQ(RemoveExtensions("C:\\dir.x\\chart"), "C:\\dir.x\\chart");
    EXPECT_EQ(RemoveExtensions("D:x.y"), "D:x");
    EXPECT_FALSE(HasExtension("/dir.d/prog"));
    EXPECT_TRUE(HasExtension("prog."));
}

TEST(TextFile, ItemsEndWithCrLfAndTextIsUtf8) {
    QTemporaryDir dir;
    const QString name = dir.filePath("t.txt");
    EXPECT_TRUE(WriteLinesToFile({"Начало", "", "b"}, name).isEmpty());
    EXPECT_EQ(ReadAll(name), QString("Начало\r\n\r\nb\r\n").toUtf8());
    EXPECT_FALSE(WriteLinesToFile({"x"}, dir.path()).isEmpty()); // a directory
}

} // namespace
} // namespace tvx
