// The main window's components: document area, help panel, menus, tool bars
// and status bar, and the binding of every control to its command.
#include "app/block_icons.h"
#include "app/cursors.h"
#include "app/localize.h"
#include "app/main_form.h"
#include "app/mdi_child.h"
#include "app/option_form.h"
#include "app/paste_guard.h"
#include "app/tool_icons.h"
#include "settings/main_settings.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace tvx {
namespace {

QAction* Button(QObject* parent, const char* name, const QIcon& icon) {
    auto* action = new QAction(icon, QString(), parent);
    action->setObjectName(QLatin1String(name));
    return action;
}

void FixedHint(QAction* button, const char* text) {
    button->setToolTip(QString::fromUtf8(text));
    button->setStatusTip(QString::fromUtf8(text));
}

// A mode button shows the cursor of its mode, cut to the drawing and fitted
// into the tool bar's icon size.
QIcon ModeIcon(int cursorId) {
    QPixmap picture = CursorPicture(cursorId);
    if (picture.isNull()) {
        return QIcon();
    }
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    QRect used;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                used |= QRect(x, y, 1, 1);
            }
        }
    }
    QImage cut = image.copy(used);
    QImage icon(24, 24, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QImage scaled = cut.width() > 24 || cut.height() > 24
                        ? cut.scaled(24, 24, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                        : cut;
    QPainter p(&icon);
    p.drawImage((24 - scaled.width()) / 2, (24 - scaled.height()) / 2, scaled);
    p.end();
    return QIcon(QPixmap::fromImage(icon));
}

} // namespace

void TMainForm::BuildCentralArea() {
    new TPasteGuard(this);
    setWindowIcon(BlockKindIcon(bkIfElse));
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    MdiArea = new QMdiArea(central);
    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    MdiArea->setBackground(QColor(128, 128, 128));
    layout->addWidget(MdiArea, 1);

    Panel1 = new QWidget(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setMinimumWidth(460);
    Panel1->setMaximumWidth(560);
    auto* help = new QVBoxLayout(Panel1);
    help->setContentsMargins(4, 4, 4, 4);
    Memo2 = new QPlainTextEdit(Panel1);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setReadOnly(true);
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    Memo2->setFont(courier);
    Button1 = new QPushButton(Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    help->addWidget(Memo2, 1);
    help->addWidget(Button1, 0, Qt::AlignRight);
    layout->addWidget(Panel1);
    setCentralWidget(central);

    Timer4 = new QTimer(this);
    Timer4->setInterval(1500);
    Timer4->setSingleShot(true);
    Timer4->start();
}

void TMainForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    File1 = bar->addMenu(QString());
    FileNewItem = File1->addAction(QString());
    FileNewItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    FileOpenItem = File1->addAction(QString());
    FileOpenItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mSaveAs = File1->addAction(QString());
    mSave = File1->addAction(QString());
    File1->addSeparator(); // N12
    File1->addSeparator(); // N14, replaced by the recent files' closing separator
    FileExitItem = File1->addAction(QString());

    mnImport = bar->addMenu(QString());
    fromfile1 = mnImport->addAction(QString());
    mnImport->addSeparator();
    mnDelphi = mnImport->addAction(QString());
    mnCpp = mnImport->addAction(QString());
    mnDelphi->setCheckable(true);
    mnCpp->setCheckable(true);

    mnExport = bar->addMenu(QString());
    mnExportToImage = mnExport->addAction(QString());
    mnExportToCode = mnExport->addAction(QString());
    mnExportToCpp = mnExport->addAction(QString());

    Edit1 = bar->addMenu(QString());
    N9 = Edit1->addAction(QString());
    N10 = Edit1->addAction(QString());
    Edit1->addSeparator();
    N20 = Edit1->addAction(QString::fromUtf8("Сохранить буфер обмена"));

    N6 = bar->addMenu(QString());
    N7 = N6->addAction(QString());
    N16 = N6->addAction(QString());
    N17 = N6->addAction(QString());

    N3 = bar->addMenu(QString());
    N8 = N3->addAction(QString());
    nLSelect = N3->addMenu(QString());
    English1 = nLSelect->addAction(QString());
    Russian1 = nLSelect->addAction(QString());
    German1 = nLSelect->addAction(QString());
    Hur1 = nLSelect->addAction(QString());
    Ukraine1 = nLSelect->addAction(QString());
    const QList<QAction*> languages = nLSelect->actions();
    for (int i = 0; i < languages.size(); ++i) {
        languages[i]->setCheckable(i < 3);
        languages[i]->setVisible(i < 3);
    }

    Window1 = bar->addMenu(QString());
    WindowCascadeItem = Window1->addAction(QString());
    WindowTileItem = Window1->addAction(QString());
    WindowTileItem2 = Window1->addAction(QString());
    WindowMinimizeItem = Window1->addAction(QString());
    WindowArrangeItem = Window1->addAction(QString());
    for (QAction* item : Window1->actions()) {
        item->setEnabled(false);
    }

    Help1 = bar->addMenu(QString());
    N4 = Help1->addAction(QString());
    HelpAboutItem = Help1->addAction(QString());
}

void TMainForm::BuildToolBars() {
    QToolBar* standard = addToolBar(QStringLiteral("ToolBar1"));
    standard->setObjectName(QStringLiteral("ToolBar1"));
    standard->setIconSize(QSize(24, 24));
    ToolButton9 = Button(this, "ToolButton9", ToolIcon(TToolIcon::New));
    ToolButton1 = Button(this, "ToolButton1", ToolIcon(TToolIcon::Open));
    sbSave = Button(this, "sbSave", ToolIcon(TToolIcon::Save));
    sbSaveAs = Button(this, "sbSaveAs", ToolIcon(TToolIcon::SaveAs));
    SpeedButton7 = Button(this, "SpeedButton7", ToolIcon(TToolIcon::Import));
    sbCompileF9 = Button(this, "sbCompileF9", ToolIcon(TToolIcon::Reimport));
    SpeedButton8 = Button(this, "SpeedButton8", ToolIcon(TToolIcon::ExportImage));
    SpeedButton10 = Button(this, "SpeedButton10", ToolIcon(TToolIcon::ExportCode));
    sbExportToWord = Button(this, "sbExportToWord", ToolIcon(TToolIcon::ExportCode));
    SpeedButton6 = Button(this, "SpeedButton6", ToolIcon(TToolIcon::Undo));
    SpeedButton5 = Button(this, "SpeedButton5", ToolIcon(TToolIcon::Redo));
    SpeedButton4 = Button(this, "SpeedButton4", ToolIcon(TToolIcon::Refresh));
    SpeedButton2 = Button(this, "SpeedButton2", ToolIcon(TToolIcon::ZoomIn));
    SpeedButton11 = Button(this, "SpeedButton11", ToolIcon(TToolIcon::ZoomIn));
    SpeedButton1 = Button(this, "SpeedButton1", ToolIcon(TToolIcon::ZoomOut));
    sbZero = Button(this, "sbZero", ToolIcon(TToolIcon::Origin));
    SpeedButton3 = Button(this, "SpeedButton3", ToolIcon(TToolIcon::Options));
    SpeedButton13 = Button(this, "SpeedButton13", ToolIcon(TToolIcon::Help));
    FixedHint(SpeedButton8, "Конвертация в BMP");
    FixedHint(SpeedButton10, "Экспорт в Паскаль");
    FixedHint(sbCompileF9, "Повторный импорт из исправленного кода");

    ComboBox1 = new QComboBox(standard);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    // The zoom is the number as typed: the box's own completion would turn a
    // typed "5" into the listed "50", and the "1" written back for a typed
    // "0" into "10".
    ComboBox1->setCompleter(nullptr);
    ComboBox1->addItems({QStringLiteral("10"), QStringLiteral("50"), QStringLiteral("100"),
                         QStringLiteral("200"), QStringLiteral("500")});
    ComboBox1->setEditText(QStringLiteral("100"));
    ComboBox1->setMinimumContentsLength(5);
    cbPreview = new QCheckBox(standard);
    cbPreview->setObjectName(QStringLiteral("cbPreview"));
    cbPreview->setChecked(MainSettings->PreviewByChanges);
    Label3 = new QLabel(standard);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setText(QStringLiteral("<a href=\"help\">%1</a>").arg(QString::fromUtf8("Справка")));
    Label3->setContentsMargins(4, 0, 8, 0);

    standard->addActions({ToolButton9, ToolButton1, sbSave, sbSaveAs});
    standard->addSeparator();
    standard->addActions({SpeedButton7, sbCompileF9});
    standard->addSeparator();
    standard->addActions({SpeedButton8, SpeedButton10});
    standard->addSeparator();
    standard->addActions({SpeedButton6, SpeedButton5});
    standard->addSeparator();
    standard->addActions({SpeedButton4, SpeedButton2, SpeedButton1});
    standard->addWidget(ComboBox1);
    standard->addAction(sbZero);
    standard->addSeparator();
    standard->addAction(SpeedButton3);
    standard->addSeparator();
    standard->addWidget(cbPreview);
    standard->addSeparator();
    standard->addAction(SpeedButton13);
    standard->addWidget(Label3);

    addToolBarBreak();
    QToolBar* blocks = addToolBar(QStringLiteral("ToolBar2"));
    blocks->setObjectName(QStringLiteral("ToolBar2"));
    blocks->setIconSize(QSize(24, 24));
    ModeGroup = new QActionGroup(this);
    ModeGroup->setExclusive(true);
    TypeGroup = new QActionGroup(this);
    TypeGroup->setExclusive(true);
    auto mode = [&](const char* name, int cursorId) {
        QAction* b = Button(ModeGroup, name, ModeIcon(cursorId));
        b->setCheckable(true);
        blocks->addAction(b);
        return b;
    };
    sbAdd = mode("sbAdd", crAddBlock);
    sbDel = mode("sbDel", crDeleteBlock);
    sbEditing = mode("sbEditing", crEditText);
    sbHand = mode("sbHand", crHand);
    sbAdd->setChecked(true);
    blocks->addSeparator();
    auto type = [&](const char* name, TBlockKind kind) {
        QAction* b = Button(TypeGroup, name, BlockKindIcon(kind));
        b->setCheckable(true);
        blocks->addAction(b);
        return b;
    };
    sbProcess = type("sbProcess", bkProcess);
    sbCall = type("sbCall", bkCall);
    sbOuput = type("sbOuput", bkInput);
    sbWriteln = type("sbWriteln", bkOutput);
    sbIfelse = type("sbIfelse", bkIfElse);
    sbCase = type("sbCase", bkCase);
    sbForto = type("sbForto", bkFor);
    sbWhile = type("sbWhile", bkWhile);
    sbRepeat = type("sbRepeat", bkRepeat);
    sbPageBreak = type("sbPageBreak", bkPageBreak);
    sbProcess->setChecked(true);
    sbCase->setEnabled(false);
    FixedHint(sbPageBreak, "блок разрыв страницы");
}

namespace {
const int StatusPanelWidths[4] = {100, 100, 175, 256};
} // namespace

void TMainForm::BuildStatusBar() {
    for (int i = 0; i < 4; ++i) {
        StatusPanels[i] = new QLabel(statusBar());
        StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanels[i]->setFixedWidth(StatusPanelWidths[i]);
        StatusPanels[i]->setFrameShape(QFrame::StyledPanel);
        StatusPanels[i]->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(StatusPanels[i]);
    }
    statusBar()->setSizeGripEnabled(true);
}

void TMainForm::ConnectCommands() {
    auto on = [this](QAction* control, void (TMainForm::*handler)()) {
        connect(control, &QAction::triggered, this, handler);
    };
    on(FileNewItem, &TMainForm::FileNew1Execute);
    on(ToolButton9, &TMainForm::FileNew1Execute);
    on(FileOpenItem, &TMainForm::FileOpen1Execute);
    on(ToolButton1, &TMainForm::FileOpen1Execute);
    on(mSaveAs, &TMainForm::mSaveAsClick);
    on(sbSaveAs, &TMainForm::mSaveAsClick);
    on(mSave, &TMainForm::mSaveClick);
    on(sbSave, &TMainForm::mSaveClick);
    on(FileExitItem, &TMainForm::FileExit1Execute);
    on(fromfile1, &TMainForm::fromfile1Click);
    on(SpeedButton7, &TMainForm::Pascal2Click);
    on(sbCompileF9, &TMainForm::sbCompileF9Click);
    on(mnExportToImage, &TMainForm::mnExportToImageClick);
    on(SpeedButton8, &TMainForm::BMP1Click);
    on(N20, &TMainForm::N20Click);
    on(mnDelphi, &TMainForm::mnDelphiClick);
    on(mnCpp, &TMainForm::mnCppClick);
    on(mnExportToCode, &TMainForm::mnExportToCodeClick);
    on(SpeedButton10, &TMainForm::pas1Click);
    on(mnExportToCpp, &TMainForm::C1Click);
    on(N9, &TMainForm::N9Click);
    on(SpeedButton6, &TMainForm::N9Click);
    on(N10, &TMainForm::N10Click);
    on(SpeedButton5, &TMainForm::N10Click);
    on(N7, &TMainForm::N7Click);
    on(SpeedButton4, &TMainForm::N7Click);
    on(N16, &TMainForm::SpeedButton2Click);
    on(SpeedButton2, &TMainForm::SpeedButton2Click);
    on(SpeedButton11, &TMainForm::SpeedButton2Click);
    on(N17, &TMainForm::SpeedButton1Click);
    on(SpeedButton1, &TMainForm::SpeedButton1Click);
    on(sbZero, &TMainForm::sbZeroClick);
    on(N8, &TMainForm::N8Click);
    on(SpeedButton3, &TMainForm::N8Click);
    on(HelpAboutItem, &TMainForm::HelpAbout1Execute);
    on(N4, &TMainForm::N4Click);
    on(SpeedButton13, &TMainForm::N4Click);
    connect(Label3, &QLabel::linkActivated, this, &TMainForm::N4Click);
    connect(Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    connect(Timer4, &QTimer::timeout, this, &TMainForm::Timer4Timer);
    connect(cbPreview, &QCheckBox::toggled, this, &TMainForm::cbPreviewClick);
    const QList<QAction*> languages = nLSelect->actions();
    for (int i = 0; i < languages.size(); ++i) {
        connect(languages[i], &QAction::triggered, this, [this, i] { English1Click(i); });
    }
    for (QAction* type : TypeGroup->actions()) {
        if (type != sbCase) {
            connect(type, &QAction::triggered, this, &TMainForm::sbBlockTypeClick);
        }
    }
    // The zoom follows the box's text as it is typed or chosen. A box
    // emptied to type a new number is no value yet; left empty, it is one
    // that is not a number.
    connect(ComboBox1, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!text.trimmed().isEmpty()) {
            ComboBox1Change();
        }
    });
    connect(ComboBox1->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (ComboBox1->currentText().trimmed().isEmpty()) {
            ComboBox1Change();
        }
    });
    connect(MdiArea, &QMdiArea::subWindowActivated, this, &TMainForm::SubWindowActivated);

    // Hidden: a button that does nothing and a second zoom-in button.
    sbExportToWord->setVisible(false);
    SpeedButton11->setVisible(false);
}

void TMainForm::Localize() {
    QtTranslations.Switch(MainSettings->MenuLanguage);
    LocalizeMainForm(*this, *MainSettings->MenuPool);
    const QList<QAction*> languages = nLSelect->actions();
    for (int i = 0; i < languages.size(); ++i) {
        languages[i]->setText(QString::fromLatin1(LanguageItemCaptions[i]));
        if (i < 3) {
            languages[i]->setChecked(i == MainSettings->MenuLanguage);
        }
    }
    if (Option != nullptr) {
        Option->Localize(*MainSettings->MenuPool);
    }
    for (TMDIChild* child : MDIChildren()) {
        child->LocalizeMenus();
    }
}

} // namespace tvx
