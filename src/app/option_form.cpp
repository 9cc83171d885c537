#include "app/option_form.h"

#include "codegen/export_state.h"
#include "platform/exception.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/text_metrics.h"
#include "settings/main_settings.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

namespace tvx {
namespace {

// The Serv texts of the chart labels, in the order of the fields Edit15..Edit18.
const char* const LabelTextIds[4] = {"sm_start", "sm_finish", "sm_yes", "sm_no"};

QString FloatToStr(double Value) {
    QString text = QString::number(Value, 'g', 15);
    text.replace(u'.', QLocale::system().decimalPoint());
    return text;
}

// The track bar position for pm_absdel: ten times the value, held within the
// bar's range (whatever the file held).
int AbsDelPosition(double Value) {
    double position = std::nearbyint(Value * 10.0);
    if (!(position >= 10.0)) {
        return 10;
    }
    return position > 20.0 ? 20 : int(position);
}

QSpinBox* NewUpDown(int Min, int Max, int Value) {
    auto* box = new QSpinBox;
    box->setRange(Min, Max);
    box->setValue(Value);
    box->setAlignment(Qt::AlignRight);
    box->setMinimumWidth(64);
    return box;
}

// A label and its up-down on one row of a group's grid.
void AddRow(QGridLayout& Grid, QLabel* Label, QWidget* Field) {
    int row = Grid.rowCount();
    Label->setBuddy(Field);
    Grid.addWidget(Label, row, 0);
    Grid.addWidget(Field, row, 1);
}

QGridLayout* NewGrid(QGroupBox* Box) {
    auto* grid = new QGridLayout(Box);
    grid->setColumnStretch(0, 1);
    grid->setHorizontalSpacing(12);
    return grid;
}

// A tab page holding the given groups top to bottom.
QWidget* NewPage(std::initializer_list<QWidget*> Groups) {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    for (QWidget* group : Groups) {
        column->addWidget(group);
    }
    column->addStretch(1);
    return page;
}

} // namespace

// --- TFontEdit ---------------------------------------------------------------

TFontEdit::TFontEdit(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    SetFont(TFont{});
}

void TFontEdit::SetFont(const TFont& Font) {
    FFont = Font;
    // Face and style of the font; the size stays the dialog's, so a large
    // font does not blow the dialog up.
    QFont shown = ToQFont(Font);
    const QFont base = QApplication::font(this);
    if (base.pointSizeF() > 0) {
        shown.setPointSizeF(base.pointSizeF());
    } else {
        shown.setPixelSize(base.pixelSize());
    }
    setFont(shown);
    setText(Font.Name);
    setCursorPosition(0);
}

// --- TRadioGroup -------------------------------------------------------------

TRadioGroup::TRadioGroup(const QStringList& Items, QWidget* parent)
    : QGroupBox(parent), Group(new QButtonGroup(this)) {
    auto* column = new QVBoxLayout(this);
    for (int i = 0; i < Items.size(); ++i) {
        auto* button = new QRadioButton(Items[i]);
        Group->addButton(button, i);
        column->addWidget(button);
    }
    connect(Group, &QButtonGroup::idClicked, this, &TRadioGroup::Click);
}

int TRadioGroup::ItemIndex() const {
    return Group->checkedId();
}

void TRadioGroup::SetItemIndex(int Index) {
    if (QAbstractButton* button = Group->button(Index)) {
        button->setChecked(true);
    } else if (QAbstractButton* checked = Group->checkedButton()) {
        Group->setExclusive(false);
        checked->setChecked(false);
        Group->setExclusive(true);
    }
}

QRadioButton* TRadioGroup::Button(int Index) const {
    return static_cast<QRadioButton*>(Group->button(Index));
}

int TRadioGroup::Count() const {
    return int(Group->buttons().size());
}

// --- TOption: building -------------------------------------------------------

TOption::TOption(TMainSettings& Settings, QWidget* parent)
    : QDialog(parent), Settings(Settings), BackupDir(MakePrivateTempDir()) {
    setObjectName(QStringLiteral("Option"));
    BuildControls();
    SetDesignedValues();
    ConnectChanges();
    // The copy for Cancel lives in a directory of its own: its own file writes
    // must never overwrite the user's settings with stale values. Without one
    // it gets a directory that can hold no file (below a device), so its
    // write fails, and is dropped, instead of landing on the user's file.
    const QString backupDir =
        BackupDir->isValid() ? BackupDir->path() + u'/' : QStringLiteral("/dev/null/");
    Backup = std::make_unique<TMainSettings>(backupDir);
    Backup->OnSaveError = [](const QString&) {};
    Localize();
}

TOption::~TOption() = default;

void TOption::BuildControls() {
    PageControl1 = new QTabWidget;
    PageControl1->addTab(BuildSizesPage(), QString());
    PageControl1->addTab(BuildTextPage(), QString());
    PageControl1->addTab(BuildConversionPage(), QString());
    PageControl1->addTab(BuildImportPage(), QString());
    PageControl1->addTab(BuildStandardPage(), QString());

    auto* column = new QVBoxLayout(this);
    column->addWidget(PageControl1);
    column->addWidget(BuildButtons());
    column->setSizeConstraint(QLayout::SetFixedSize);
    PageControl1->setMinimumWidth(400);
}

QWidget* TOption::BuildSizesPage() {
    GroupBox1 = new QGroupBox;
    QGridLayout* distances = NewGrid(GroupBox1);
    UpDown1 = NewUpDown(1, 50, 20);
    UpDown2 = NewUpDown(1, 50, 5);
    UpDown3 = NewUpDown(1, 25, 3);
    UpDown4 = NewUpDown(1, 25, 3);
    AddRow(*distances, Label1 = new QLabel, UpDown1);
    AddRow(*distances, Label3 = new QLabel, UpDown2);
    AddRow(*distances, Label2 = new QLabel, UpDown3);
    AddRow(*distances, Label4 = new QLabel, UpDown4);

    GroupBox3 = new QGroupBox;
    QGridLayout* angles = NewGrid(GroupBox3);
    UpDown9 = NewUpDown(10, 80, 60);
    UpDown10 = NewUpDown(10, 80, 30);
    UpDown11 = NewUpDown(10, 80, 45);
    for (QSpinBox* box : {UpDown9, UpDown10, UpDown11}) {
        box->setSuffix(QStringLiteral("°"));
    }
    AddRow(*angles, Label9 = new QLabel, UpDown9);
    AddRow(*angles, Label10 = new QLabel, UpDown10);
    AddRow(*angles, Label11 = new QLabel, UpDown11);

    TabSheet1 = NewPage({GroupBox1, GroupBox3});
    return TabSheet1;
}

QWidget* TOption::BuildTextPage() {
    GroupBox6 = new QGroupBox;
    QGridLayout* words = NewGrid(GroupBox6);
    words->setColumnStretch(0, 0);
    words->setColumnStretch(1, 1);
    AddRow(*words, Label14 = new QLabel, Edit15 = new QLineEdit);
    AddRow(*words, Label16 = new QLabel, Edit16 = new QLineEdit);
    AddRow(*words, Label15 = new QLabel, Edit17 = new QLineEdit);
    AddRow(*words, Label17 = new QLabel, Edit18 = new QLineEdit);

    GroupBox9 = new QGroupBox;
    QGridLayout* fonts = NewGrid(GroupBox9);
    edBce = new TFontEdit;
    edExFont = new TFontEdit;
    btnBCE = new QPushButton;
    btbExp = new QPushButton;
    fonts->addWidget(edBce, 0, 0);
    fonts->addWidget(btnBCE, 0, 1);
    fonts->addWidget(edExFont, 1, 0);
    fonts->addWidget(btbExp, 1, 1);

    TabSheet3 = NewPage({GroupBox6, GroupBox9});
    return TabSheet3;
}

QWidget* TOption::BuildConversionPage() {
    rgLangprog = new TRadioGroup(
        {QStringLiteral("Pascal"), QStringLiteral("C++"), QStringLiteral("Basic (debugging!!!)")});

    GroupBox4 = new QGroupBox;
    auto* adding = new QVBoxLayout(GroupBox4);
    adding->addWidget(cbDelspace = new QCheckBox);
    adding->addWidget(
        CheckBox3 = new QCheckBox(QStringLiteral("Add console operators (write, read, cout << )")));
    CheckBox3->setEnabled(false);

    TabSheet4 = NewPage({rgLangprog, GroupBox4});
    return TabSheet4;
}

QWidget* TOption::BuildImportPage() {
    GroupBox5 = new QGroupBox;
    auto* select = new QVBoxLayout(GroupBox5);
    select->addWidget(CheckBox1 = new QCheckBox);
    select->addWidget(CheckBox2 = new QCheckBox);
    select->addWidget(cbOutAsIn = new QCheckBox);

    TabSheet2 = NewPage({GroupBox5});
    return TabSheet2;
}

QWidget* TOption::BuildStandardPage() {
    GroupBox7 = new QGroupBox;
    auto* params = new QVBoxLayout(GroupBox7);
    params->addWidget(CheckBox4 = new QCheckBox);
    params->addWidget(CheckBox5 = new QCheckBox);
    CheckBox5->setEnabled(false);
    auto* ratio = new QHBoxLayout;
    TrackBar1 = new QSlider(Qt::Horizontal);
    TrackBar1->setRange(10, 20);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setTickInterval(1);
    TrackBar1->setEnabled(false);
    Label13 = new QLabel;
    Label13->setMinimumWidth(32);
    Label13->setEnabled(false);
    ratio->addWidget(TrackBar1, 1);
    ratio->addWidget(Label13);
    params->addLayout(ratio);

    GroupBox8 = new QGroupBox;
    auto* standard = new QVBoxLayout(GroupBox8);
    standard->addWidget(cbForStyle = new QCheckBox);
    standard->addWidget(cbShakeGOST = new QCheckBox);
    standard->addWidget(cbNumerBlock = new QCheckBox);
    cbNumerBlock->setEnabled(false);

    TabSheet5 = NewPage({GroupBox7, GroupBox8});
    return TabSheet5;
}

QWidget* TOption::BuildButtons() {
    auto* row = new QWidget;
    auto* buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    bbDefault = new QPushButton;
    bbOK = new QPushButton;
    bbCancel = new QPushButton;
    bbApply = new QPushButton;
    bbOK->setDefault(true);
    bbApply->setEnabled(false);
    buttons->addWidget(bbDefault);
    buttons->addStretch(1);
    buttons->addWidget(bbOK);
    buttons->addWidget(bbCancel);
    buttons->addWidget(bbApply);
    return row;
}

void TOption::SetDesignedValues() {
    Edit15->setText(QStringLiteral("Начало"));
    Edit16->setText(QStringLiteral("Конец"));
    Edit17->setText(QStringLiteral("Да"));
    Edit18->setText(QStringLiteral("Нет"));
    rgLangprog->SetItemIndex(0);
    for (QCheckBox* on : {cbDelspace, CheckBox1, CheckBox2, cbShakeGOST}) {
        on->setChecked(true);
    }
    TrackBar1->setValue(15);
    Label13->setText(FloatToStr(1.5));
    PageControl1->setCurrentWidget(TabSheet3);
    TextCleanUp = cbDelspace->isChecked();
}

void TOption::ConnectChanges() {
    for (QSpinBox* box : {UpDown1, UpDown2, UpDown3, UpDown4, UpDown9, UpDown10, UpDown11}) {
        connect(box, &QSpinBox::valueChanged, this, &TOption::Edit1Change);
    }
    for (QLineEdit* field : {Edit15, Edit16, Edit17, Edit18}) {
        connect(field, &QLineEdit::textChanged, this, &TOption::Edit1Change);
    }
    for (QCheckBox* box : {cbDelspace, CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5,
                           cbOutAsIn, cbForStyle, cbShakeGOST, cbNumerBlock}) {
        connect(box, &QCheckBox::toggled, this, &TOption::Edit1Change);
    }
    // The code generator's clean-up follows the box, whoever sets it.
    connect(cbDelspace, &QCheckBox::toggled, this, [](bool On) { TextCleanUp = On; });
    connect(TrackBar1, &QSlider::valueChanged, this, &TOption::TrackBar1Change);
    connect(rgLangprog, &TRadioGroup::Click, this, &TOption::rgLangprogClick);
    connect(btnBCE, &QPushButton::clicked, this, &TOption::btnBCEClick);
    connect(btbExp, &QPushButton::clicked, this, &TOption::btbExpClick);
    connect(bbOK, &QPushButton::clicked, this, &TOption::bbOKClick);
    connect(bbApply, &QPushButton::clicked, this, &TOption::bbApplyClick);
    connect(bbCancel, &QPushButton::clicked, this, &TOption::bbCancelClick);
    connect(bbDefault, &QPushButton::clicked, this, &TOption::bbDefaultClick);
}

void TOption::Localize() {
    Localize(*Settings.MenuPool);
}

void TOption::Localize(const TStringPool& Menu) {
    auto text = [&Menu](const char* Id) { return Menu.GetString(QString::fromLatin1(Id)); };
    setWindowTitle(text("sm_option_Caption"));
    PageControl1->setTabText(PageControl1->indexOf(TabSheet1), text("sm_option_tab1"));
    PageControl1->setTabText(PageControl1->indexOf(TabSheet3), text("sm_option_tab4"));
    PageControl1->setTabText(PageControl1->indexOf(TabSheet4), text("sm_option_conversion"));
    PageControl1->setTabText(PageControl1->indexOf(TabSheet2), text("sm_option_tab2"));
    PageControl1->setTabText(PageControl1->indexOf(TabSheet5), text("sm_option_tab5"));
    const std::pair<QGroupBox*, const char*> groups[] = {
        {GroupBox1, "sm_option_pxtopx"},  {GroupBox3, "sm_option_angle"},
        {GroupBox6, "sm_option_sertext"}, {GroupBox9, "sm_option_fonts"},
        {GroupBox5, "sm_option_Select"},  {GroupBox7, "sm_option_Params"},
        {GroupBox8, "sm_option_AsStan"},  {rgLangprog, "sm_option_selactive"},
        {GroupBox4, "sm_option_adding"}};
    for (const auto& [box, id] : groups) {
        box->setTitle(text(id));
    }
    const std::pair<QLabel*, const char*> labels[] = {
        {Label1, "sm_option_tvxtvx"},   {Label3, "sm_option_tvxtext"},
        {Label2, "sm_option_linetext"}, {Label4, "sm_option_lineline"},
        {Label9, "sm_option_ainput"},   {Label10, "sm_option_aifelse"},
        {Label11, "sm_option_aforto"},  {Label14, "sm_option_begin"},
        {Label16, "sm_option_end"},     {Label15, "sm_option_yes"},
        {Label17, "sm_option_no"}};
    for (const auto& [label, id] : labels) {
        label->setText(text(id));
    }
    const std::pair<QAbstractButton*, const char*> buttons[] = {{btnBCE, "sm_option_fblock"},
                                                                {btbExp, "sm_option_fexport"},
                                                                {CheckBox1, "sm_option_Delrw"},
                                                                {CheckBox2, "sm_option_OCRread"},
                                                                {cbOutAsIn, "sm_option_InAsOut"},
                                                                {CheckBox4, "sm_option_Allbeq"},
                                                                {CheckBox5, "sm_option_W2Heq"},
                                                                {cbForStyle, "sm_option_OldFor"},
                                                                {cbShakeGOST, "sm_option_Shake"},
                                                                {cbNumerBlock, "sm_option_Numers"},
                                                                {cbDelspace, "sm_option_delspace"},
                                                                {bbDefault, "sm_option_Default"},
                                                                {bbOK, "sm_option_Ok"},
                                                                {bbCancel, "sm_option_Cancel"},
                                                                {bbApply, "sm_option_Apply"}};
    for (const auto& [button, id] : buttons) {
        button->setText(text(id));
    }
}

bool TOption::NumberBlocks() const {
    return cbNumerBlock->isChecked();
}

// --- TOption: settings and controls ------------------------------------------

void TOption::AssignFrom(const TMainSettings& S) {
    Loading = true;
    const std::pair<QSpinBox*, int> distances[] = {
        {UpDown1, S.pm_bcebce},   {UpDown2, S.pm_bcetext},  {UpDown3, S.pm_sertext},
        {UpDown4, S.pm_linedge},  {UpDown9, S.pm_outangle}, {UpDown10, S.pm_ifangle},
        {UpDown11, S.pm_forangle}};
    for (const auto& [box, value] : distances) {
        box->setValue(value & 0xFFFF);
    }
    QLineEdit* const texts[4] = {Edit15, Edit16, Edit17, Edit18};
    for (int i = 0; i < 4; ++i) {
        texts[i]->setText(S.ServPool->GetString(QString::fromLatin1(LabelTextIds[i])));
    }
    rgLangprog->SetItemIndex(S.LangProg);
    cbDelspace->setChecked(S.pm_delspace);
    CheckBox3->setChecked(S.pm_addconsole);
    CheckBox1->setChecked(S.pm_DelRw);
    CheckBox2->setChecked(S.pm_RecogReadd);
    cbOutAsIn->setChecked(S.pm_OuAsIn);
    TrackBar1->setValue(AbsDelPosition(S.pm_absdel));
    Label13->setText(FloatToStr(S.pm_absdel));
    CheckBox4->setChecked(S.pm_alleq);
    CheckBox5->setChecked(S.pm_w2heq);
    cbForStyle->setChecked(S.pm_ForOld);
    cbShakeGOST->setChecked(S.pm_ShakeGOST);
    cbNumerBlock->setChecked(S.pm_BlockNum);
    if (Host.SetPreview) {
        Host.SetPreview(S.PreviewByChanges);
    }
    edBce->SetFont(S.FontBlock);
    edExFont->SetFont(S.FontExport);
    Loading = false;
}

void TOption::LoadTo(TMainSettings& S) {
    S.SetBceBce(UpDown1->value());
    S.SetBceText(UpDown2->value());
    S.SetSerText(UpDown3->value());
    S.SetLinEdge(UpDown4->value());
    S.SetOutAngle(UpDown9->value());
    S.SetIfAngle(UpDown10->value());
    S.SetForAngle(UpDown11->value());
    QLineEdit* const texts[4] = {Edit15, Edit16, Edit17, Edit18};
    for (int i = 0; i < 4; ++i) {
        S.ServPool->SetString(QString::fromLatin1(LabelTextIds[i]), texts[i]->text());
    }
    if (rgLangprog->ItemIndex() >= 0) {
        S.SetLangProg(std::uint8_t(rgLangprog->ItemIndex()));
    }
    S.SetDelSpace(cbDelspace->isChecked());
    S.SetAddConsole(CheckBox3->isChecked());
    S.SetDelRw(CheckBox1->isChecked());
    S.SetRecogReadd(CheckBox2->isChecked());
    S.SetOuAsIn(cbOutAsIn->isChecked());
    S.SetAbsDel(TrackBar1->value() / 10.0);
    S.SetBlockNum(cbNumerBlock->isChecked());
    if (Host.Preview) {
        S.SetPreviewByChanges(Host.Preview());
    }
    S.SetForOld(cbForStyle->isChecked());
    S.SetAllEq(CheckBox4->isChecked());
    S.SetW2HEq(CheckBox5->isChecked());
    S.SetShakeGOST(cbShakeGOST->isChecked());
    S.SetFontBlock(edBce->Font());
    S.SetFontExport(edExFont->Font());
}

void TOption::OptionToVar() {
    Settings.BeginUpdate();
    LoadTo(Settings);
    Call(Host.RepaintChart);
    Settings.EndUpdate();
}

// --- TOption: handlers --------------------------------------------------------

void TOption::Edit1Change() {
    if (!Loading) {
        OptionToVar();
    }
    ChangedOption();
}

void TOption::ChangedOption() {
    bbApply->setEnabled(true);
}

void TOption::rgLangprogClick(int Index) {
    ChangedOption();
    ExportLanguage = Index;
    Call(Host.RefreshCode);
}

void TOption::TrackBar1Change() {
    Edit1Change();
    Label13->setText(FloatToStr(Loading ? TrackBar1->value() / 10.0 : Settings.pm_absdel));
}

void TOption::btnBCEClick() {
    ChooseFont(*edBce);
}

void TOption::btbExpClick() {
    ChooseFont(*edExFont);
}

void TOption::ChooseFont(TFontEdit& Field) {
    TFont font = Field.Font();
    font.Name = Field.text();
    if (!Prompts().FontDialog(font)) {
        return;
    }
    Field.SetFont(font);
    Edit1Change();
}

void TOption::bbOKClick() {
    OptionToVar();
    SaveSettings();
    accept();
}

void TOption::bbApplyClick() {
    OptionToVar();
    if (SaveSettings()) {
        bbApply->setEnabled(false);
    }
    Call(Host.Refresh);
}

void TOption::bbCancelClick() {
    reject();
}

void TOption::reject() {
    RestoreBackup();
    QDialog::reject();
}

void TOption::bbDefaultClick() {
    Settings.SetDefaults();
    // The defaults bring back the built-in interface texts; the interface
    // keeps its chosen language.
    try {
        Settings.LoadLanguage(Settings.MenuLanguage);
    } catch (const Exception&) {
        // The texts are loaded; only writing missing ids back to the language
        // file failed, which costs the user nothing here.
    }
    ExportLanguage = Settings.LangProg;
    Settings.NotifyAll();
    TakeBackup();
    AssignFrom(Settings);
    Call(Host.RepaintChart);
    Call(Host.RefreshCode);
}

void TOption::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) {
        FormShow();
    }
}

void TOption::hideEvent(QHideEvent* e) {
    QDialog::hideEvent(e);
    if (!e->spontaneous()) {
        Call(Host.RefreshCode);
    }
}

void TOption::FormShow() {
    Loading = true;
    TakeBackup();
    AssignFrom(Settings);
    Loading = false;
}

// Assign copies the user's choices but not the fonts, the label texts, the
// block numbering or the export language; the dialog edits those too, so its
// copy carries them as well.
void TOption::TakeBackup() {
    Backup->Assign(&Settings);
    Backup->FontBlock = Settings.FontBlock;
    Backup->FontExport = Settings.FontExport;
    Backup->pm_BlockNum = Settings.pm_BlockNum;
    Backup->LangProg = Settings.LangProg;
    for (const char* id : LabelTextIds) {
        const QString key = QString::fromLatin1(id);
        Backup->ServPool->SetString(key, Settings.ServPool->GetString(key));
    }
    BackupExportLanguage = ExportLanguage;
    HasBackup = true;
}

void TOption::RestoreBackup() {
    if (!HasBackup) {
        return; // never shown: nothing was changed through the dialog
    }
    Settings.Assign(Backup.get());
    Settings.FontBlock = Backup->FontBlock;
    Settings.FontExport = Backup->FontExport;
    Settings.pm_BlockNum = Backup->pm_BlockNum;
    Settings.LangProg = Backup->LangProg;
    for (const char* id : LabelTextIds) {
        const QString key = QString::fromLatin1(id);
        Settings.ServPool->SetString(key, Backup->ServPool->GetString(key));
    }
    ExportLanguage = BackupExportLanguage;
    Settings.NotifyAll();
    // The chart windows read the fonts and the numbering from the controls.
    AssignFrom(Settings);
    Call(Host.RepaintChart);
}

bool TOption::SaveSettings() {
    try {
        Settings.SaveToIni();
        return true;
    } catch (const Exception& e) {
        Prompts().ShowMessage(e.message());
        return false;
    }
}

void TOption::Call(const std::function<void()>& Hook) const {
    if (Hook) {
        Hook();
    }
}

} // namespace tvx
