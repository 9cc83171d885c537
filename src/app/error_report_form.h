#pragma once
// The window that shows the report of a failed import: a subject line, the
// parser's message and the imported source, signed with the user's login
// name. From it the user can start a mail with the report to the makers.
#include <QDialog>
#include <QUrl>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tvx {

struct TErrorReport;

// The report text, one line per entry, signed with LoginName.
QString ComposeErrorReport(const TErrorReport& Report, const QString& LoginName);

// A "mailto:" link to Recipient with the subject and body percent-encoded
// (line breaks as CR LF). A body that would make the link too long for mail
// clients is cut, and the cut is marked.
QUrl ReportMailLink(const QString& Recipient, const QString& Subject, const QString& Body);

// Links longer than this (in encoded characters) get their body cut.
inline constexpr int MaxMailLinkLength = 32000;

class TfmErrorMessage : public QDialog {
    Q_OBJECT
public:
    explicit TfmErrorMessage(QWidget* parent = nullptr);

    // Fills the subject and the report, then shows the window modally;
    // answers QDialog::Accepted when the user chose to send it.
    int ShowReport(const QString& Title, const TErrorReport& Report);
    // The filling alone.
    void SetReport(const QString& Title, const TErrorReport& Report);

    // Hands the report to the mail client, then closes the window.
    void btnSendClick();

    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
    QLineEdit* edThems = nullptr;
    QPlainTextEdit* mmReport = nullptr;
    QPushButton *btnSend = nullptr, *btnCancel = nullptr;

protected:
    bool eventFilter(QObject* Watched, QEvent* e) override;
};

} // namespace tvx
