#include "app/error_report_form.h"

#include "import/error_report.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/version_info.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

namespace tvx {
namespace {

// Closes the body so the reader can answer the user.
const QString ReplyPlaceholder = QStringLiteral("Мой адрес для ответа: ");
// Stands where an over-long body was cut.
const QString CutMark = QStringLiteral("\n[...]");

QString UnixLineBreaks(QString Text) {
    Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text.replace(u'\r', u'\n');
    return Text;
}

QByteArray EncodedLink(const QString& Recipient, const QString& Subject, const QString& Body) {
    QString body = UnixLineBreaks(Body);
    body.replace(u'\n', QStringLiteral("\r\n"));
    return "mailto:" + QUrl::toPercentEncoding(Recipient, "@") +
           "?subject=" + QUrl::toPercentEncoding(UnixLineBreaks(Subject)) +
           "&body=" + QUrl::toPercentEncoding(body);
}

} // namespace

QString ComposeErrorReport(const TErrorReport& Report, const QString& LoginName) {
    const QStringList lines = {
        QStringLiteral("Сообщение об ошибке"),
        QString(),
        QStringLiteral("ОТЧЕТ ПАРСЕРА:"),
        Report.Message,
        QString(),
        QStringLiteral("ИМПОРТИРУЕМЫЙ КОД"),
        UnixLineBreaks(Report.SourceText),
        QString(),
        QStringLiteral("С уважением, ваш пользователь ") + LoginName,
    };
    return lines.join(u'\n');
}

QUrl ReportMailLink(const QString& Recipient, const QString& Subject, const QString& Body) {
    const QString tail = u'\n' + ReplyPlaceholder;
    QByteArray link = EncodedLink(Recipient, Subject, Body + tail);
    if (link.size() > MaxMailLinkLength) {
        // The longest start of the body that still fits with the mark.
        qsizetype fits = 0, tooLong = Body.size();
        while (tooLong - fits > 1) {
            const qsizetype middle = fits + (tooLong - fits) / 2;
            if (EncodedLink(Recipient, Subject, Body.left(middle) + CutMark + tail).size() <=
                MaxMailLinkLength) {
                fits = middle;
            } else {
                tooLong = middle;
            }
        }
        if (fits > 0 && Body.at(fits - 1).isHighSurrogate()) {
            --fits;
        }
        link = EncodedLink(Recipient, Subject, Body.left(fits) + CutMark + tail);
    }
    return QUrl::fromEncoded(link, QUrl::StrictMode);
}

TfmErrorMessage::TfmErrorMessage(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fmErrorMessage"));
    setWindowTitle(QStringLiteral("Произошла ошибка!"));

    Label1 = new QLabel(QStringLiteral("Название ошибки:"));
    edThems = new QLineEdit;
    Label1->setBuddy(edThems);
    Label3 = new QLabel(QStringLiteral("совместными усилиями мы глюки победим!"));
    QPalette fuchsia = Label3->palette();
    fuchsia.setColor(QPalette::WindowText, QColor(0xFF, 0x00, 0xFF));
    Label3->setPalette(fuchsia);
    Label2 = new QLabel(QStringLiteral("Отсылаемое сообщение:"));
    mmReport = new QPlainTextEdit;
    mmReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmReport->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmReport->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmReport->installEventFilter(this);
    Label2->setBuddy(mmReport);

    btnSend = new QPushButton(QStringLiteral("Создать письмо"));
    btnCancel = new QPushButton(QStringLiteral("Отмена"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnSend);
    buttons->addWidget(btnCancel);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(edThems);
    column->addWidget(Label3);
    column->addWidget(Label2);
    column->addWidget(mmReport, 1);
    column->addLayout(buttons);
    resize(560, 420);

    connect(btnSend, &QPushButton::clicked, this, &TfmErrorMessage::btnSendClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfmErrorMessage::SetReport(const QString& Title, const TErrorReport& Report) {
    edThems->setText(Title);
    mmReport->setPlainText(ComposeErrorReport(Report, GetLoginUserName()));
    btnSend->setFocus();
}

int TfmErrorMessage::ShowReport(const QString& Title, const TErrorReport& Report) {
    SetReport(Title, Report);
    return exec();
}

void TfmErrorMessage::btnSendClick() {
    const QUrl link =
        ReportMailLink(ProgramMailAddress(), edThems->text(), mmReport->toPlainText());
    if (!OpenLink(link)) {
        Prompts().ShowMessage(QStringLiteral("Создать письмо не удалось."));
    }
    accept();
}

// Enter in the report does not start a new line (Ctrl+Enter does), so a
// stray Enter cannot tear the report apart.
bool TfmErrorMessage::eventFilter(QObject* Watched, QEvent* e) {
    if (Watched == mmReport && e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ControlModifier) {
                mmReport->insertPlainText(QStringLiteral("\n"));
            }
            return true;
        }
    }
    return QDialog::eventFilter(Watched, e);
}

} // namespace tvx
