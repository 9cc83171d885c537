// The version-information reader and the about box that shows it.
#include "app/about_box.h"
#include "platform/shell.h"
#include "platform/version_info.h"

#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace tvx;

namespace {

// A file the system describes as the test says.
class TFakeSource : public TFileInfoSource {
public:
    QString TypeName(const QString&) const override { return QStringLiteral("Program"); }
    bool IsExecutable(const QString&) const override { return Executable; }
    std::optional<TVersionResource> VersionResource(const QString&) const override {
        return Resource;
    }

    bool Executable = true;
    std::optional<TVersionResource> Resource;
};

TVersionResource RussianResource() {
    TVersionResource resource;
    resource.Translations = {{0x0419, 0x04E3}, {0x0409, 0x04B0}};
    resource.SetString({0x0419, 0x04E3}, "ProductName", "Редактор");
    resource.SetString({0x0409, 0x04B0}, "ProductName", "Editor");
    resource.SetString({0x0409, 0x04B0}, "Comments", "only in the second translation");
    TFixedFileInfo fixed;
    fixed.FileType = 3;
    fixed.FileSubtype = 10;
    fixed.FileFlagsMask = ffPreRelease | ffPatched;
    fixed.FileFlags = ffDebug | ffPreRelease | ffPatched;
    resource.Fixed = fixed;
    return resource;
}

} // namespace

TEST(VersionInfoTest, FileTypeTexts) {
    EXPECT_EQ(FileTypeText(0, 7), "Unknown");
    EXPECT_EQ(FileTypeText(1, 0), "Application");
    EXPECT_EQ(FileTypeText(3, 0), "Unknown Driver");
    EXPECT_EQ(FileTypeText(3, 10), "Communications Driver");
    EXPECT_EQ(FileTypeText(3, 11), "");
    EXPECT_EQ(FileTypeText(4, 3), "Truetype Font");
    EXPECT_EQ(FileTypeText(5, 0x1234), "Virtual Defice Identifier = 00001234");
    EXPECT_EQ(FileTypeText(5, 0xABCDEF12u), "Virtual Defice Identifier = ABCDEF12");
    EXPECT_EQ(FileTypeText(6, 0), "");
    EXPECT_EQ(FileTypeText(7, 0), "Static-link Library");
}

TEST(VersionInfoTest, StringPathsAndFlags) {
    EXPECT_EQ(VersionStringPath({0x0419, 0x04E3}, "ProductName"),
              "\\StringFileInfo\\041904E3\\ProductName");
    EXPECT_EQ(VersionStringPath({0x000a, 0xfde9}, "Comments"),
              "\\StringFileInfo\\000AFDE9\\Comments");
    EXPECT_TRUE(HasFileFlag(0x3F, ffDebug, ffDebug));
    EXPECT_FALSE(HasFileFlag(0x3E, ffDebug, ffDebug)); // the mask lacks it
    EXPECT_FALSE(HasFileFlag(0x3F, 0, ffDebug));
}

TEST(VersionInfoTest, ReaderTakesTheFirstTranslationAndMaskedFlags) {
    TFakeSource source;
    source.Resource = RussianResource();
    TFileVersionInfo info;
    info.CompanyName = "left over";
    GetFileVersionInfoRec("prog", info, source);

    EXPECT_EQ(info.FileTypeName, "Program");
    EXPECT_EQ(info.ProductName, "Редактор");
    EXPECT_EQ(info.Comments, "");
    EXPECT_EQ(info.CompanyName, "");
    EXPECT_EQ(info.FileTypeText, "Communications Driver");
    EXPECT_FALSE(info.IsDebug);
    EXPECT_TRUE(info.IsPreRelease);
    EXPECT_TRUE(info.IsPatched);
    EXPECT_FALSE(info.IsPrivateBuild);

    // Not an executable, or no version information: the type name only.
    source.Executable = false;
    GetFileVersionInfoRec("prog", info, source);
    EXPECT_EQ(info.FileTypeName, "Program");
    EXPECT_EQ(info.ProductName, "");
    EXPECT_FALSE(info.IsPreRelease);
    source.Executable = true;
    source.Resource->Fixed.reset();
    source.Resource->Translations.clear();
    GetFileVersionInfoRec("prog", info, source);
    EXPECT_EQ(info.ProductName, "");
    EXPECT_EQ(info.FileTypeText, "");
}

TEST(VersionInfoTest, OurOwnProgramDescribesItself) {
    TFileVersionInfo info;
    GetFileVersionInfoRec(QCoreApplication::applicationFilePath(), info);
    EXPECT_EQ(info.ProductName, "Tarvinex");
    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d+\\.\\d+$").match(info.FileVersion).hasMatch())
        << info.FileVersion.toStdString();
    EXPECT_EQ(info.ProductVersion, info.FileVersion);
    EXPECT_FALSE(info.CompanyName.isEmpty());
    EXPECT_FALSE(info.FileDescription.isEmpty());
    EXPECT_EQ(info.FileTypeText, "Application");

    // Any other file has no version information here.
    GetFileVersionInfoRec("/bin/sh", info);
    EXPECT_EQ(info.ProductName, "");
}

TEST(AboutBoxTest, ShowsTheProgramAndOpensItsLinks) {
    TRecordingLinksScope links;
    TAboutBox box;
    box.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(box.windowTitle(), "About program");
    EXPECT_EQ(box.Label2->text(), "Program: Tarvinex");
    EXPECT_TRUE(box.Label3->text().startsWith("Version program: "));
    EXPECT_GT(box.Label3->text().size(), QString("Version program: ").size());
    EXPECT_TRUE(box.Label5->text().startsWith("Author: "));

    QTest::mouseClick(box.Label6, Qt::LeftButton);
    QTest::mouseClick(box.Label7, Qt::LeftButton);
    ASSERT_EQ(links.Links.size(), 2);
    EXPECT_EQ(links.Links[0], QUrl(ProgramHomePage()));
    EXPECT_EQ(links.Links[1].scheme(), "mailto");
    EXPECT_EQ(links.Links[1].path(), ProgramMailAddress());

    // A refused link is not worth a message: the box just stays.
    links.Answer = false;
    QTest::mouseClick(box.Label7, Qt::LeftButton);
    EXPECT_TRUE(box.isVisible());

    QTest::mouseClick(box.OKButton, Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
}

TEST(AboutBoxTest, IsOpaqueBeforeTheWindowSystemActivatesIt) {
    // Where activation never comes, a box waiting for it would stay
    // invisible and block the program.
    TAboutBox box;
    box.show();
    EXPECT_EQ(box.windowOpacity(), 1.0);
    box.close();
    box.show();
    EXPECT_EQ(box.windowOpacity(), 1.0);
}

TEST(AboutBoxTest, FileWithoutVersionInformationLeavesThePrefixes) {
    TAboutBox box;
    box.ProgramFile = "/nonexistent/program";
    box.show();
    EXPECT_EQ(box.Label2->text(), "Program: ");
    EXPECT_EQ(box.Label3->text(), "Version program: ");
    EXPECT_EQ(box.Label4->text(), "Description program: ");
    EXPECT_EQ(box.Label5->text(), "Author: ");
}

TEST(AboutBoxTest, LinksTurnBoldUnderThePointer) {
    TAboutBox box;
    box.show();
    ASSERT_TRUE(box.Label6->font().underline());
    ASSERT_FALSE(box.Label6->font().bold());
    QTest::mouseMove(box.Label6);
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), box.Label6->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box.Label6, &move);
    EXPECT_TRUE(box.Label6->font().bold());
    EXPECT_TRUE(box.Label6->font().underline());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(box.Label6, &leave);
    EXPECT_FALSE(box.Label6->font().bold());
    EXPECT_TRUE(box.Label6->font().underline());
}

TEST(ShellTest, LoginNameAndTempDir) {
    EXPECT_FALSE(GetLoginUserName().isEmpty());
    EXPECT_TRUE(GetTempDir().endsWith(u'/'));
}

// A picture for a person to look at (see option_form_test.cpp).
TEST(AboutBoxTest, DISABLED_Screenshot) {
    TAboutBox box;
    box.show();
    QCoreApplication::processEvents();
    box.grab().save(qEnvironmentVariable("TVX_SCREENSHOT_DIR", QDir::tempPath()) + "/about.png");
}
