#include "app/about_box.h"

#include "platform/shell.h"
#include "platform/version_info.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <QUrl>
#include <QVBoxLayout>

namespace tvx {
namespace {

// The program's picture: a small flowchart of a terminal, a process block and
// a condition joined by arrows.
QPixmap ProgramPicture() {
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        return icon.pixmap(64, 64);
    }
    QPixmap picture(64, 64);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x1f, 0x3a, 0x68);
    p.setPen(QPen(ink, 2));
    p.setBrush(QColor(0xd6, 0xe6, 0xfa));
    p.drawRoundedRect(QRectF(16, 3, 32, 11), 5.5, 5.5);
    p.drawRect(QRectF(14, 22, 36, 13));
    QPainterPath diamond;
    diamond.moveTo(32, 43);
    diamond.lineTo(48, 52);
    diamond.lineTo(32, 61);
    diamond.lineTo(16, 52);
    diamond.closeSubpath();
    p.drawPath(diamond);
    p.setBrush(ink);
    for (qreal top : {14.0, 35.0}) {
        p.drawLine(QPointF(32, top), QPointF(32, top + 5));
        QPolygonF head;
        head << QPointF(29, top + 4) << QPointF(35, top + 4) << QPointF(32, top + 8);
        p.drawPolygon(head);
    }
    return picture;
}

} // namespace

// --- TLinkLabel ---------------------------------------------------------------

TLinkLabel::TLinkLabel(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::blue);
    setPalette(colours);
    SetBold(false);
}

void TLinkLabel::SetBold(bool Bold) {
    QFont look = font();
    look.setUnderline(true);
    look.setBold(Bold);
    setFont(look);
}

void TLinkLabel::mouseMoveEvent(QMouseEvent* e) {
    SetBold(true);
    QLabel::mouseMoveEvent(e);
}

void TLinkLabel::leaveEvent(QEvent* e) {
    SetBold(false);
    QLabel::leaveEvent(e);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) {
        emit Click();
    }
}

// --- TAboutBox ----------------------------------------------------------------

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent), ProgramFile(QCoreApplication::applicationFilePath()) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About program"));

    Panel1 = new QFrame;
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);
    ProgramIcon = new QLabel;
    ProgramIcon->setFixedSize(64, 64);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(ProgramPicture());
    Label2 = new QLabel;
    Label3 = new QLabel;
    Label4 = new QLabel;
    Label4->setWordWrap(true);
    Label5 = new QLabel;
    Label6 = new TLinkLabel;
    Label6->setToolTip(QStringLiteral("open homepage of program"));
    Label7 = new TLinkLabel;
    Label7->setToolTip(QStringLiteral("send mail to author"));
    QFont title = Label2->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.25);
    Label2->setFont(title);

    auto* panel = new QGridLayout(Panel1);
    panel->setHorizontalSpacing(14);
    panel->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
    panel->addWidget(Label2, 0, 1);
    panel->addWidget(Label3, 1, 1, Qt::AlignTop);
    panel->addWidget(Label4, 2, 0, 1, 2);
    panel->addWidget(Label5, 3, 0, 1, 2);
    panel->addWidget(Label6, 4, 0, 1, 2);
    panel->addWidget(Label7, 5, 0, 1, 2);
    panel->setColumnStretch(1, 1);

    OKButton = new QPushButton(QStringLiteral("OK"));
    OKButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addStretch(1);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Panel1);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
    Panel1->setMinimumWidth(340);

    // Filled once here so the box has its size before it is first placed.
    FormShow();

    connect(Label6, &TLinkLabel::Click, this, &TAboutBox::Label6Click);
    connect(Label7, &TLinkLabel::Click, this, &TAboutBox::Label7Click);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

void TAboutBox::FormShow() {
    TFileVersionInfo info;
    GetFileVersionInfoRec(ProgramFile, info);
    Label2->setText(QStringLiteral("Program: ") + info.ProductName);
    Label3->setText(QStringLiteral("Version program: ") + info.FileVersion);
    Label4->setText(QStringLiteral("Description program: ") + info.FileDescription);
    Label5->setText(QStringLiteral("Author: ") + info.CompanyName);
    Label6->setText(ProgramHomePage());
    Label7->setText(ProgramMailAddress());
}

void TAboutBox::Label6Click() {
    // A link the desktop cannot open is not worth a message.
    OpenLink(QUrl(ProgramHomePage()));
}

void TAboutBox::Label7Click() {
    OpenLink(QUrl(QStringLiteral("mailto:") + ProgramMailAddress()));
}

void TAboutBox::OKButtonClick() {
    accept();
}

void TAboutBox::showEvent(QShowEvent* e) {
    if (!e->spontaneous()) {
        FormShow();
    }
    QDialog::showEvent(e);
}

} // namespace tvx
