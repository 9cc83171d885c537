#pragma once
// The options dialog: layout distances and angles, the texts of the start,
// finish, yes and no labels, the block and export fonts, the export language
// and the import and drawing switches. Every change is applied to the settings
// at once, so the open chart shows it; OK and Apply also write "Config.ini";
// Cancel puts back the settings as they were when the dialog was shown.
#include "platform/font.h"
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <cstdint>
#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace tvx {

class TMainSettings;
class TPrivateTempDir;
class TStringPool;

// A one-line field that names a font, written in that font's face and style.
class TFontEdit : public QLineEdit {
public:
    explicit TFontEdit(QWidget* parent = nullptr);
    const TFont& Font() const { return FFont; }
    // The field's font, and its text := the font's name.
    void SetFont(const TFont& Font);

private:
    TFont FFont;
};

// A framed group of radio buttons of which one is chosen.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(const QStringList& Items, QWidget* parent = nullptr);
    // The chosen item, -1 when none.
    int ItemIndex() const;
    void SetItemIndex(int Index);
    QRadioButton* Button(int Index) const;
    int Count() const;

signals:
    // The user chose an item (not raised by SetItemIndex).
    void Click(int Index);

private:
    QButtonGroup* Group;
};

// What the dialog asks of the main window. Members left unset do nothing (the
// preview switch is then read from and written to the settings alone).
struct TOptionHost {
    // The active chart window lays its chart out again and repaints.
    std::function<void()> RepaintChart;
    // The code pane of the active chart window is generated again, without an
    // undo snapshot.
    std::function<void()> RefreshCode;
    // The main window's refresh command.
    std::function<void()> Refresh;
    // The main window's live-preview switch.
    std::function<bool()> Preview;
    std::function<void(bool)> SetPreview;
};

class TOption : public QDialog {
    Q_OBJECT
public:
    // Settings: the object the dialog edits (the program's MainSettings); it
    // must outlive the dialog.
    explicit TOption(TMainSettings& Settings, QWidget* parent = nullptr);
    ~TOption() override;

    TOptionHost Host;

    // --- read by the chart windows ---
    const TFont& BlockFont() const { return edBce->Font(); }
    const TFont& ExportFont() const { return edExFont->Font(); }
    bool NumberBlocks() const;

    // Every caption from the interface-text pool (the settings' one, or Menu).
    void Localize();
    void Localize(const TStringPool& Menu);
    // Hooks the export commands call; the dialog needs nothing from them.
    void IniToOption() {}
    void LangProgFromINI(int) {}

    // Settings to controls (applies nothing) and controls to settings.
    void AssignFrom(const TMainSettings& S);
    void LoadTo(TMainSettings& S);
    // The controls to the live settings in one update bracket, repainting the
    // active chart before the notifications go out.
    void OptionToVar();

    // --- handlers ---
    void Edit1Change(); // every control's change
    void ChangedOption();
    void rgLangprogClick(int Index);
    void TrackBar1Change();
    void btnBCEClick();
    void btbExpClick();
    void bbOKClick();
    void bbApplyClick();
    void bbCancelClick();
    void bbDefaultClick();
    // Escape and the window's close box cancel as the Cancel button does.
    void reject() override;

    // --- controls ---
    QTabWidget* PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr, *TabSheet3 = nullptr, *TabSheet4 = nullptr, *TabSheet2 = nullptr,
            *TabSheet5 = nullptr;
    QGroupBox *GroupBox1 = nullptr, *GroupBox3 = nullptr, *GroupBox4 = nullptr,
              *GroupBox5 = nullptr, *GroupBox6 = nullptr, *GroupBox7 = nullptr,
              *GroupBox8 = nullptr, *GroupBox9 = nullptr;
    // Distances and angles; each up-down carries its own edit field.
    QSpinBox *UpDown1 = nullptr, *UpDown2 = nullptr, *UpDown3 = nullptr, *UpDown4 = nullptr,
             *UpDown9 = nullptr, *UpDown10 = nullptr, *UpDown11 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr,
           *Label9 = nullptr, *Label10 = nullptr, *Label11 = nullptr, *Label13 = nullptr,
           *Label14 = nullptr, *Label15 = nullptr, *Label16 = nullptr, *Label17 = nullptr;
    QLineEdit *Edit15 = nullptr, *Edit16 = nullptr, *Edit17 = nullptr, *Edit18 = nullptr;
    TFontEdit *edBce = nullptr, *edExFont = nullptr;
    QPushButton *btnBCE = nullptr, *btbExp = nullptr;
    TRadioGroup* rgLangprog = nullptr;
    QCheckBox *cbDelspace = nullptr, *CheckBox1 = nullptr, *CheckBox2 = nullptr,
              *CheckBox3 = nullptr, *CheckBox4 = nullptr, *CheckBox5 = nullptr,
              *cbOutAsIn = nullptr, *cbForStyle = nullptr, *cbShakeGOST = nullptr,
              *cbNumerBlock = nullptr;
    QSlider* TrackBar1 = nullptr;
    QPushButton *bbDefault = nullptr, *bbOK = nullptr, *bbCancel = nullptr, *bbApply = nullptr;

    // True while the controls are being filled from the settings.
    bool Loading = false;

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void BuildControls();
    QWidget* BuildSizesPage();
    QWidget* BuildTextPage();
    QWidget* BuildConversionPage();
    QWidget* BuildImportPage();
    QWidget* BuildStandardPage();
    QWidget* BuildButtons();
    void SetDesignedValues();
    void ConnectChanges();
    void FormShow();
    void TakeBackup();
    void RestoreBackup();
    void ChooseFont(TFontEdit& Field);
    // Writes "Config.ini"; tells the user and answers false when it cannot.
    bool SaveSettings();
    void Call(const std::function<void()>& Hook) const;

    TMainSettings& Settings;
    // The copy Cancel goes back to, kept in a directory of its own so that it
    // never writes the user's "Config.ini".
    std::unique_ptr<TPrivateTempDir> BackupDir;
    std::unique_ptr<TMainSettings> Backup;
    std::int32_t BackupExportLanguage = 0;
    bool HasBackup = false;
};

} // namespace tvx
