#include "app/main_form.h"

#include "app/about_box.h"
#include "app/cursors.h"
#include "app/interface_texts.h"
#include "app/mdi_child.h"
#include "app/option_form.h"
#include "chart/fc_list.h"
#include "platform/cp1251.h"
#include "platform/ini_file.h"
#include "platform/prompts.h"
#include "platform/regular_file.h"
#include "platform/shell.h"
#include "settings/main_settings.h"
#include "settings/read_refusal.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTimer>
#include <QUrl>

namespace tvx {

TMainForm* MainForm = nullptr;

namespace {

// "readme.txt" is a few kilobytes of text; a larger file is no help text.
constexpr qint64 MaxHelpBytes = qint64{1} << 20;

} // namespace

QString ProgramTitle() {
    return QString::fromUtf8("Tarvinex редактор блок-схем");
}

TMainForm::TMainForm(const QStringList& Arguments, QWidget* parent) : QMainWindow(parent) {
    MainForm = this;
    ExeName = Arguments.value(0);
    CommandLine = Arguments;
    ProgramDir = QFileInfo(ExeName).absolutePath() + u'/';
    TempDir = QDir::tempPath() + u'/';
    // Snapshots of this run live in a directory of their own, so two running
    // editors never write or delete each other's files and nobody else can
    // read or plant them. Without one there is no undo (SnapshotDir()).
    Snapshots = MakePrivateTempDir();

    // No title of its own: the desktop shows the program's name (the
    // application's display name) for it, and with a maximised chart window
    // the chart's name followed by the program's name, once.
    setWindowTitle(QString());
    RegisterCursors(); // the mode buttons show the cursors
    BuildCentralArea();
    BuildMenus();
    BuildToolBars();
    BuildStatusBar();
    ConnectCommands();

    MainSettings->OnLanguageChange = [this](TMainSettings*, TSettingsChangedArgs&) { Localize(); };
    MainSettings->OnChange = [this](TMainSettings*, TSettingsChangedArgs&) { SettingsChange(); };
    try {
        MainSettings->LoadLanguage(MainSettings->MenuLanguage);
    } catch (const std::exception& e) {
        ReportIniFailure(e);
    }
    MainSettings->NotifyAll();

    setAcceptDrops(true);
    LoadHelp(QStringLiteral("readme.txt"), false);
    if (Memo2->toPlainText().isEmpty()) {
        LoadHelp(ProgramDir + QStringLiteral("readme.txt"), false);
    }
    GetOption();
    AboutBox = new TAboutBox(this);
    FileNameToMenuRefresh();
    UpdateHistoryButtons();
    resize(1100, 760);
}

TMainForm::~TMainForm() {
    setAcceptDrops(false);
    CloseAllChildren();
    // Widgets going away can still signal (a field losing the focus finishes
    // its editing); nothing of this window may run from here on.
    for (QObject* sender : std::initializer_list<QObject*>{
             MdiArea, ComboBox1, ComboBox1->lineEdit(), cbPreview, Timer4}) {
        sender->disconnect(this);
    }
    delete Option;
    Option = nullptr;
    if (MainSettings) {
        MainSettings->OnLanguageChange = nullptr;
        MainSettings->OnChange = nullptr;
    }
    if (MainForm == this) {
        MainForm = nullptr;
    }
}

void TMainForm::CloseAllChildren() {
    // Newest first, each deleting its undo snapshots as it goes.
    const QList<QMdiSubWindow*> windows = MdiArea->subWindowList(QMdiArea::CreationOrder);
    for (qsizetype i = windows.size() - 1; i >= 0; --i) {
        delete windows.at(i);
    }
}

QString TMainForm::SnapshotDir() const {
    if (Snapshots && Snapshots->isValid()) {
        return Snapshots->path() + u'/';
    }
    return QString();
}

TMDIChild* TMainForm::ActiveMDIChild() const {
    QMdiSubWindow* sub = MdiArea->currentSubWindow();
    if (sub == nullptr) {
        sub = MdiArea->activeSubWindow();
    }
    return sub ? qobject_cast<TMDIChild*>(sub->widget()) : nullptr;
}

QList<TMDIChild*> TMainForm::MDIChildren() const {
    QList<TMDIChild*> children;
    for (QMdiSubWindow* sub : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* child = qobject_cast<TMDIChild*>(sub->widget())) {
            children.append(child);
        }
    }
    return children;
}

int TMainForm::MDIChildCount() const {
    return int(MDIChildren().size());
}

QMdiSubWindow* TMainForm::SubWindowOf(const TMDIChild* Child) const {
    for (QMdiSubWindow* sub : MdiArea->subWindowList()) {
        if (sub->widget() == Child) {
            return sub;
        }
    }
    return nullptr;
}

TMDIChild* TMainForm::CreateMDIChild(const QString& Name) {
    auto* child = new TMDIChild(*this);
    // Every window has a number of its own: its undo snapshots are named by it.
    child->ChartNumber = ++ChartCounter;
    child->History.SetNaming(SnapshotDir(), child->ChartNumber,
                             MainSettings->ServPool->GetString(QStringLiteral("sm_default_new")));
    child->SetCaption(Name);
    QMdiSubWindow* sub = MdiArea->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    // Cascaded: each new window a little right of and below the one before.
    const QSize area = MdiArea->viewport()->size();
    const int step = 26 * ((MdiArea->subWindowList().size() - 1) % 6);
    sub->setGeometry(step, step, std::max(area.width() - 160, 640),
                     std::max(area.height() - 160, 440));
    sub->show();
    MdiArea->setActiveSubWindow(sub);
    return child;
}

void TMainForm::SubWindowActivated(QMdiSubWindow* Window) {
    if (auto* child = Window ? qobject_cast<TMDIChild*>(Window->widget()) : nullptr) {
        SetComboText(QString::number(child->Zoom));
        // Only a change between chart windows activates one; the main window
        // coming back from a dialog does not.
        if (child != LastActiveChild) {
            // What is typed in the window left goes into its chart.
            if (LastActiveChild) {
                LastActiveChild->CommitEdit();
            }
            LastActiveChild = child;
            child->FormActivate();
        }
    }
    UpdateHistoryButtons();
}

bool TMainForm::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::StatusTip:
        // The hint of the control under the pointer goes to the first panel.
        StatusPanels[0]->setText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    case QEvent::WindowActivate:
        FormActivate();
        break;
    default:
        break;
    }
    return QMainWindow::event(e);
}

void TMainForm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    // Not every platform activates a window that is shown; the charts of the
    // command line are opened all the same, once.
    QTimer::singleShot(0, this, &TMainForm::FormActivate);
}

void TMainForm::FormActivate() {
    if (Activated) {
        return;
    }
    Activated = true;
    for (int i = 1; i < CommandLine.size(); ++i) {
        FileOpenFML(CommandLine.at(i));
    }
}

void TMainForm::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) {
        e->acceptProposedAction();
    }
}

void TMainForm::dropEvent(QDropEvent* e) {
    QStringList names;
    for (const QUrl& url : e->mimeData()->urls()) {
        if (url.isLocalFile()) {
            names.append(url.toLocalFile());
        }
    }
    e->acceptProposedAction();
    OpenDroppedFiles(names);
}

void TMainForm::OpenDroppedFiles(const QStringList& FileNames) {
    if (FileNames.isEmpty()) {
        return;
    }
    try {
        FileOpenFML(FileNames.constFirst());
    } catch (const std::exception& e) {
        Prompts().ShowMessage(QString::fromUtf8("не удается открыть файл ") +
                              FileNames.constFirst() + u'\n' + FailureMessage(e));
    }
}

void TMainForm::Timer4Timer() {
    HideHelp();
    Timer4->stop();
}

void TMainForm::HideHelp() {
    // Hidden with the focus in it, the panel would pass the focus on to the
    // zoom box, whose text Delete empties: the keys go to the chart instead.
    if (Panel1->isAncestorOf(QApplication::focusWidget())) {
        if (TMDIChild* child = ActiveMDIChild()) {
            child->FocusChart();
        } else {
            MdiArea->setFocus();
        }
    }
    Panel1->hide();
}

void TMainForm::LoadHelp(const QString& FileName, bool ReportMissing) {
    const TFileRead read = ReadRegularFile(FileName, MaxHelpBytes);
    if (!read.Ok()) {
        // A file that is there but cannot be shown is always worth a word.
        if (ReportMissing || !read.Missing()) {
            Prompts().ShowMessage(ReadRefusal(FileName, read, MaxHelpBytes));
        }
        return;
    }
    Memo2->setPlainText(DecodeTextFile(read.Bytes));
}

void TMainForm::ReportIniFailure(const std::exception& e) {
    Prompts().ShowMessage(QString::fromUtf8(e.what()));
}

void TMainForm::FileExit1Execute() {
    close();
}

TOption* TMainForm::GetOption() {
    if (Option == nullptr) {
        Option = new TOption(*MainSettings, this);
        TOptionHost& host = Option->Host;
        host.RepaintChart = [this] {
            if (TMDIChild* child = ActiveMDIChild()) {
                child->RePaintChem();
            }
        };
        host.RefreshCode = [this] {
            if (TMDIChild* child = ActiveMDIChild()) {
                RefreshCode(*child);
            }
        };
        host.Refresh = [this] { N7Click(); };
        host.Preview = [this] { return cbPreview->isChecked(); };
        host.SetPreview = [this](bool on) { cbPreview->setChecked(on); };
    }
    return Option;
}

void TMainForm::N8Click() {
    GetOption()->exec();
}

void TMainForm::HelpAbout1Execute() {
    AboutBox->exec();
}

void TMainForm::sbBlockTypeClick() {
    sbAdd->setChecked(true);
}

// The menu toggles an item's check mark on every click, while the setting
// notifies only when it changes: the marks are set from the setting again.
void TMainForm::mnDelphiClick() {
    MainSettings->SetSourceType(0);
    SettingsChange();
}

void TMainForm::mnCppClick() {
    MainSettings->SetSourceType(1);
    SettingsChange();
}

void TMainForm::SettingsChange() {
    mnDelphi->setChecked(MainSettings->SourceType == 0);
    mnCpp->setChecked(MainSettings->SourceType == 1);
}

} // namespace tvx
