#pragma once
// The about box: the program's name, version, description and maker, read
// from the program file's version information, and two links, one to the
// maker's web page and one that starts a mail to the maker. It is opaque as
// soon as it is shown: a box that waited for the window system to activate it
// would stay invisible, and block the program, where activation never comes.
#include <QDialog>
#include <QLabel>

class QFrame;
class QPushButton;

namespace tvx {

// A label that reads like a link: blue and underlined, bold while the pointer
// moves over it, with a hand cursor; a click raises Click.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLinkLabel(QWidget* parent = nullptr);

signals:
    void Click();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void SetBold(bool Bold);
};

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // The program file whose version information is shown; the running
    // program unless set otherwise.
    QString ProgramFile;

    // The labels from the version information of ProgramFile (done at every
    // showing).
    void FormShow();
    void Label6Click(); // opens the maker's web page
    void Label7Click(); // starts a mail to the maker
    void OKButtonClick();

    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr;
    TLinkLabel *Label6 = nullptr, *Label7 = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
};

} // namespace tvx
