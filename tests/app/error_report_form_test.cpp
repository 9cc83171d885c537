// The import error-report window: the composed report, and the mail link it
// hands to the desktop.
#include "app/error_report_form.h"
#include "import/error_report.h"
#include "platform/recording_prompts.h"
#include "platform/shell.h"
#include "platform/version_info.h"

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>
#include <gtest/gtest.h>

using namespace tvx;

namespace {

TErrorReport SampleReport() {
    TErrorReport report;
    report.Message = "Line 2: Syntax Error: Expecting the following tokens: ';'";
    report.SourceText = "begin\r\n  a := 1 & b = 2\r\n";
    report.Line = 2;
    return report;
}

QString QueryValue(const QUrl& Link, const QString& Key) {
    return QUrlQuery(Link).queryItemValue(Key, QUrl::FullyDecoded);
}

} // namespace

TEST(ErrorReportTest, ReportHoldsHeadingsMessageSourceAndSignature) {
    TErrorReport report;
    report.Message = "Line 1: Lexical Error: Cannot recognize token: @";
    report.SourceText = "x := @;\r\ny := 2;\r\n";
    const QStringList lines = ComposeErrorReport(report, "anna").split(u'\n');
    const QStringList expected = {"Сообщение об ошибке",
                                  "",
                                  "ОТЧЕТ ПАРСЕРА:",
                                  report.Message,
                                  "",
                                  "ИМПОРТИРУЕМЫЙ КОД",
                                  "x := @;",
                                  "y := 2;",
                                  "",
                                  "",
                                  "С уважением, ваш пользователь anna"};
    EXPECT_EQ(lines, expected);
}

TEST(ErrorReportTest, MailLinkCarriesSubjectAndBodyEncoded) {
    const QString body = "a & b = c?\nd#e %20 f+g";
    const QUrl link = ReportMailLink("dev@example.org", "Fehler & Bug", body);
    EXPECT_TRUE(link.isValid());
    EXPECT_EQ(link.scheme(), "mailto");
    EXPECT_EQ(link.path(), "dev@example.org");
    EXPECT_EQ(QueryValue(link, "subject"), "Fehler & Bug");
    const QString sent = QueryValue(link, "body");
    EXPECT_TRUE(sent.startsWith("a & b = c?\r\nd#e %20 f+g\r\n")) << sent.toStdString();
    EXPECT_EQ(QUrlQuery(link).queryItems().size(), 2);
    const QByteArray encoded = link.toEncoded();
    EXPECT_FALSE(encoded.contains('#'));
    EXPECT_FALSE(encoded.contains(' '));
    EXPECT_TRUE(encoded.contains("%0D%0A"));
}

TEST(ErrorReportTest, OverlongBodyIsCutWithAMark) {
    const QString body = QString("Ж").repeated(100000);
    const QUrl link = ReportMailLink("dev@example.org", "subject", body);
    EXPECT_LE(link.toEncoded().size(), MaxMailLinkLength);
    const QString sent = QueryValue(link, "body");
    EXPECT_TRUE(sent.startsWith(QString("Ж").repeated(1000)));
    EXPECT_TRUE(sent.contains("\r\n[...]\r\n"));
    EXPECT_GT(sent.size(), 4000);
}

TEST(ErrorReportTest, SendOpensTheMailWithTheSubjectTheUserTyped) {
    TRecordingLinksScope links;
    TRecordingPromptsScope prompts;
    TfmErrorMessage window;
    QTimer::singleShot(0, &window, [&] {
        EXPECT_EQ(window.edThems->text(), "Во время импорта произошла критическая ошибка");
        window.edThems->setText("Import & crash");
        QTest::mouseClick(window.btnSend, Qt::LeftButton);
    });
    const int result =
        window.ShowReport("Во время импорта произошла критическая ошибка", SampleReport());

    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_EQ(links.Links.size(), 1);
    const QUrl& link = links.Links[0];
    EXPECT_EQ(link.path(), ProgramMailAddress());
    EXPECT_EQ(QueryValue(link, "subject"), "Import & crash");
    const QString body = QueryValue(link, "body");
    EXPECT_TRUE(body.contains("  a := 1 & b = 2\r\n")) << body.toStdString();
    EXPECT_TRUE(body.contains("С уважением, ваш пользователь " + GetLoginUserName()));
    EXPECT_TRUE(prompts.Messages().isEmpty());
}

TEST(ErrorReportTest, RefusedLinkIsReportedAndCancelSendsNothing) {
    TRecordingLinksScope links;
    TRecordingPromptsScope prompts;
    links.Answer = false;
    {
        TfmErrorMessage window;
        window.SetReport("title", SampleReport());
        window.show();
        QTest::mouseClick(window.btnSend, Qt::LeftButton);
        EXPECT_EQ(prompts.Messages(), QStringList{"Создать письмо не удалось."});
        EXPECT_FALSE(window.isVisible());
    }
    TfmErrorMessage window;
    window.SetReport("title", SampleReport());
    window.show();
    QTest::mouseClick(window.btnCancel, Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_EQ(links.Links.size(), 1);
}

TEST(ErrorReportTest, EnterInTheReportStartsNoNewLine) {
    TfmErrorMessage window;
    window.SetReport("title", SampleReport());
    window.show();
    const int lines = window.mmReport->blockCount();
    window.mmReport->setFocus();
    QTest::keyClick(window.mmReport, Qt::Key_Return);
    EXPECT_EQ(window.mmReport->blockCount(), lines);
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(window.mmReport, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(window.mmReport->blockCount(), lines + 1);
}

// A picture for a person to look at (see option_form_test.cpp).
TEST(ErrorReportTest, DISABLED_Screenshot) {
    TfmErrorMessage window;
    window.SetReport("Во время импорта произошла критическая ошибка", SampleReport());
    window.show();
    QCoreApplication::processEvents();
    window.grab().save(qEnvironmentVariable("TVX_SCREENSHOT_DIR", QDir::tempPath()) +
                       "/error-report.png");
}
