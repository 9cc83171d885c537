#pragma once
// The main window: the document area that holds every chart window, the
// menus, the two tool bars, the status bar and the help panel, and the state
// every chart window shares: the tool mode, the block type to add, the block
// clipboard. Every user command is one of its handlers.
#include "app/qt_translations.h"
#include "platform/shell.h"

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStringList>
#include <memory>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace tvx {

class TAboutBox;
class TChartCollection;
class TFCList;
class TMDIChild;
class TOption;
class TTVXParseChartes;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Arguments: the command line, argument 0 being the program file, whose
    // directory becomes the global ProgramDir. The settings object
    // MainSettings must exist.
    explicit TMainForm(const QStringList& Arguments, QWidget* parent = nullptr);
    ~TMainForm() override;

    // --- shared state ---
    QString ExeName;
    QStringList CommandLine;
    int ChartCounter = 0; // numbers handed to chart windows so far
    std::unique_ptr<TFCList> BlockClipboard;

    // --- components ---
    QMdiArea* MdiArea = nullptr;
    QMenu *File1 = nullptr, *mnImport = nullptr, *mnExport = nullptr, *Edit1 = nullptr,
          *N6 = nullptr, *N3 = nullptr, *nLSelect = nullptr, *Window1 = nullptr, *Help1 = nullptr;
    QAction *FileNewItem = nullptr, *FileOpenItem = nullptr, *mSaveAs = nullptr, *mSave = nullptr,
            *FileExitItem = nullptr;
    QAction *fromfile1 = nullptr, *mnDelphi = nullptr, *mnCpp = nullptr;
    QAction *mnExportToImage = nullptr, *mnExportToCode = nullptr, *mnExportToCpp = nullptr;
    QAction *N9 = nullptr, *N10 = nullptr, *N20 = nullptr;
    QAction *N7 = nullptr, *N16 = nullptr, *N17 = nullptr;
    QAction* N8 = nullptr;
    QAction *English1 = nullptr, *Russian1 = nullptr, *German1 = nullptr, *Hur1 = nullptr,
            *Ukraine1 = nullptr;
    QAction *WindowCascadeItem = nullptr, *WindowTileItem = nullptr, *WindowTileItem2 = nullptr,
            *WindowMinimizeItem = nullptr, *WindowArrangeItem = nullptr;
    QAction *N4 = nullptr, *HelpAboutItem = nullptr;
    // Tool bar buttons.
    QAction *ToolButton9 = nullptr, *ToolButton1 = nullptr, *sbSave = nullptr, *sbSaveAs = nullptr,
            *SpeedButton7 = nullptr, *sbCompileF9 = nullptr, *SpeedButton8 = nullptr,
            *SpeedButton10 = nullptr, *sbExportToWord = nullptr, *SpeedButton6 = nullptr,
            *SpeedButton5 = nullptr, *SpeedButton4 = nullptr, *SpeedButton2 = nullptr,
            *SpeedButton1 = nullptr, *SpeedButton11 = nullptr, *sbZero = nullptr,
            *SpeedButton3 = nullptr, *SpeedButton13 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QCheckBox* cbPreview = nullptr;
    QLabel* Label3 = nullptr;
    // Tool modes (one group) and block types to add (another group).
    QActionGroup *ModeGroup = nullptr, *TypeGroup = nullptr;
    QAction *sbAdd = nullptr, *sbDel = nullptr, *sbEditing = nullptr, *sbHand = nullptr;
    QAction *sbProcess = nullptr, *sbCall = nullptr, *sbOuput = nullptr, *sbWriteln = nullptr,
            *sbIfelse = nullptr, *sbCase = nullptr, *sbForto = nullptr, *sbWhile = nullptr,
            *sbRepeat = nullptr, *sbPageBreak = nullptr;
    QLabel* StatusPanels[4] = {};
    QWidget* Panel1 = nullptr; // help panel
    QPlainTextEdit* Memo2 = nullptr;
    QPushButton* Button1 = nullptr;
    QTimer* Timer4 = nullptr;

    // Qt's own dialog texts, in the interface language.
    TQtTranslations QtTranslations;

    // The options dialog, made on first use; the about box.
    TOption* GetOption();
    TOption* Option = nullptr;
    TAboutBox* AboutBox = nullptr;

    // --- chart windows ---
    // The chart window commands act on; nullptr when none is open.
    TMDIChild* ActiveMDIChild() const;
    // Every open chart window, oldest first.
    QList<TMDIChild*> MDIChildren() const;
    int MDIChildCount() const;
    QMdiSubWindow* SubWindowOf(const TMDIChild* Child) const;

    // A new, active chart window captioned Name, with its own number.
    TMDIChild* CreateMDIChild(const QString& Name);
    // A window for a new chart or an import (ParseResult may be nullptr); a
    // given Window is reused (re-import) instead of making a new one.
    TMDIChild* NewMDIChild(std::unique_ptr<TChartCollection> ParseResult, int Flag,
                           TMDIChild* Window);
    // Opens the chart file in a new window. False when it could not be read
    // (the reader has told the user; no window stays).
    bool FileOpenFML(const QString& FileName);
    // Saves the active chart by the extension of the name: chart XML (".fml"),
    // annotated Pascal text (".fc2"), or else the legacy records (".tvx").
    // False when nothing was written (the user was told why).
    bool SaveAsAbstract(const QString& FileName);
    // Save and Save as of Child's chart shown (Child is made the active
    // window): true when it was written. Save writes without asking only the
    // file the chart was read from or last written to, in that form, while
    // it is unchanged on disk; a chart never saved goes through Save as.
    bool SaveChart(TMDIChild& Child);
    bool SaveChartAs(TMDIChild& Child);
    // Asks, for each chart of Child with changes no save has written, whether
    // to save them: false when the user cancels (or a save asked for did not
    // happen), and the window must stay as it was.
    bool MayCloseChart(TMDIChild& Child);
    bool SaveTVXfile(const QString& FileName);
    // Opens a legacy record file in a new window (no command calls it).
    TMDIChild* ReadTVXtoMDI(const QString& FileName);

    // Imports the source file with the grammar of the settings' SourceType:
    // the converter holding the charts when the text was accepted; otherwise
    // nullptr, after showing the parser's report in the error-report window
    // (nothing is shown when SourceType is not a language). A file that
    // cannot be read raises EImportError.
    std::unique_ptr<TTVXParseChartes> ImportFromFile(const QString& FileName);
    // The block clipboard pasted into the active chart at its MouseInfo, with
    // no repaint and no after-edit action.
    void Paste1Click();
    // After-edit action and redraw of the active chart; a failure on the way
    // is reported.
    void ClipBoard1Click();
    // Every block of the active chart gets the text "Block №" and its position.
    void N2Click();

    // After every edit: code pane and undo snapshot of the active window,
    // which now holds changes no save has written.
    void MakeAction();
    // The same for Child, active or not.
    void MakeAction(TMDIChild& Child);
    // The code pane of the active window from a fresh generator run, without
    // a snapshot.
    void RefreshCode(TMDIChild& Child);
    // Undo and redo buttons and menu items from the active window's history.
    void UpdateHistoryButtons();
    // Tells the user once that there is no undo (no private snapshot folder).
    void ReportUndoOff();

    // Chart length to view length at the active window's zoom and back.
    int Zooming(int V) const;
    int UnZooming(int V) const;
    void SetZoom(TMDIChild& Child, long long Percent);

    // Texts of every caption and hint from the interface-text pool.
    void Localize();
    void SettingsChange();
    void FileNameToMenu(const QString& FileName);
    void FileNameToMenuRefresh();

    // The directory undo snapshots are written to (private to this run);
    // empty when none could be made, and undo is off.
    QString SnapshotDir() const;
    QString TempDir;

public slots:
    void FileNew1Execute();
    void FileOpen1Execute();
    void mSaveClick();
    void mSaveAsClick();
    void FileMenuClick(int Tag);
    void FileExit1Execute();
    void N9Click();           // undo
    void N10Click();          // redo
    void N7Click();           // refresh
    void SpeedButton2Click(); // zoom in
    void SpeedButton1Click(); // zoom out
    void ComboBox1Change();
    void sbZeroClick();
    void N8Click(); // options dialog
    void HelpAbout1Execute();
    void English1Click(int Index);
    void cbPreviewClick();
    void N4Click(); // help panel
    void Button1Click();
    void sbBlockTypeClick();
    void pas1Click();
    void mnExportToCodeClick();
    void C1Click();
    void Pascal2Click(); // import a source file
    void fromfile1Click();
    void sbCompileF9Click(); // import the active window's source pane again
    void BMP1Click();        // the active chart's pages as pictures
    void mnExportToImageClick();
    void N20Click(); // the block clipboard as a chart file
    void mnDelphiClick();
    void mnCppClick();
    void Timer4Timer();
    // Runs once, the first time the window becomes active: opens the charts
    // named on the command line.
    void FormActivate();
    // Opens the first of the dropped files.
    void OpenDroppedFiles(const QStringList& FileNames);

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void BuildMenus();
    void BuildToolBars();
    void BuildStatusBar();
    void BuildCentralArea();
    void ConnectCommands();
    void SubWindowActivated(QMdiSubWindow* Window);
    void ReportIniFailure(const std::exception& e);
    void SetComboText(const QString& Text);
    void LoadHelp(const QString& FileName, bool ReportMissing);
    void HideHelp();
    // A name for a new chart that no open window carries.
    QString NewChartName() const;
    // The open window whose chart was read from or last written to the file
    // FileName names; nullptr when none.
    TMDIChild* WindowHolding(const QString& FileName) const;
    void Activate(TMDIChild& Child);
    void CloseAllChildren();

    bool Activated = false;
    QPointer<TMDIChild> LastActiveChild; // the chart window activated last
    bool ChangingCombo = false;
    QString SaveDialogPrevious; // file name the save dialog returned last
    std::unique_ptr<TPrivateTempDir> Snapshots;
    bool UndoOffReported = false;
};

// The program's name, which the desktop adds to the title of each of its
// windows.
QString ProgramTitle();

// The main window of the running program; nullptr while there is none.
extern TMainForm* MainForm;

} // namespace tvx
