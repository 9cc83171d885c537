// The options dialog driven as a user would: change a control, press Apply,
// Cancel, OK or Default, and look at the settings, "Config.ini" and the hooks
// the main window gives it.
#include "app/option_form.h"
#include "codegen/export_state.h"
#include "platform/ini_file.h"
#include "platform/recording_prompts.h"
#include "settings/main_settings.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace tvx;

namespace {

class OptionFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        SavedLanguage = ExportLanguage;
        SavedCleanUp = TextCleanUp;
        Settings = std::make_unique<TMainSettings>(Dir.path() + u'/');
        Settings->OnChange = [this](TMainSettings* S, TSettingsChangedArgs&) {
            ++Changes;
            ChangedWhileUpdating |= S->UpdateCount != 0;
        };
        Settings->OnLanguageChange = [this](TMainSettings*, TSettingsChangedArgs&) {
            ++LanguageChanges;
        };
        Option = std::make_unique<TOption>(*Settings);
        Option->Host.RepaintChart = [this] {
            ++Repaints;
            RepaintedInsideUpdate |= Settings->UpdateCount != 0;
        };
        Option->Host.RefreshCode = [this] { CodeLanguages.append(ExportLanguage); };
        Option->Host.Refresh = [this] { ++Refreshes; };
        Option->Host.Preview = [this] { return Preview; };
        Option->Host.SetPreview = [this](bool On) { Preview = On; };
    }

    void TearDown() override {
        Option.reset();
        Settings.reset();
        ExportLanguage = SavedLanguage;
        TextCleanUp = SavedCleanUp;
    }

    // Shows the dialog as the Options command does (without blocking).
    void ShowDialog() {
        Option->show();
        QCoreApplication::processEvents();
        Changes = LanguageChanges = Repaints = 0;
        CodeLanguages.clear();
    }

    // Clicks a button, turning to its page first as the user must.
    void Click(QAbstractButton* Button) {
        for (QWidget* page : {Option->TabSheet1, Option->TabSheet2, Option->TabSheet3,
                              Option->TabSheet4, Option->TabSheet5}) {
            if (page->isAncestorOf(Button)) {
                Option->PageControl1->setCurrentWidget(page);
            }
        }
        // On the indicator: a check box or radio button takes clicks on its
        // indicator and text only, not on the empty rest of its row.
        QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(8, Button->height() / 2));
    }

    // Types a new value into an up-down's field, as the user would.
    void Type(QSpinBox* Box, int Value) {
        Box->selectAll();
        QTest::keyClicks(Box, QString::number(Value));
    }

    QString ConfigText() const {
        QFile file(Settings->ConfigFileName());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir Dir;
    TRecordingPromptsScope Prompts;
    std::unique_ptr<TMainSettings> Settings;
    std::unique_ptr<TOption> Option;
    int Changes = 0, LanguageChanges = 0, Repaints = 0, Refreshes = 0;
    bool ChangedWhileUpdating = false, RepaintedInsideUpdate = false;
    bool Preview = false;
    QList<int> CodeLanguages;
    std::int32_t SavedLanguage = 0;
    bool SavedCleanUp = true;
};

} // namespace

TEST_F(OptionFormTest, ShowingFillsTheControlsFromTheSettingsWithoutApplyingThem) {
    Settings->pm_bcebce = 17;
    Settings->pm_ifangle = 75;
    Settings->pm_ForOld = false;
    Settings->PreviewByChanges = true;
    Settings->ServPool->SetString("sm_yes", "Yes");
    Settings->FontBlock.Name = "Courier New";
    Option->show();

    EXPECT_EQ(Option->UpDown1->value(), 17);
    EXPECT_EQ(Option->UpDown10->value(), 75);
    EXPECT_FALSE(Option->cbForStyle->isChecked());
    EXPECT_EQ(Option->Edit17->text(), "Yes");
    EXPECT_EQ(Option->edBce->text(), "Courier New");
    EXPECT_EQ(Option->BlockFont().Name, "Courier New");
    EXPECT_TRUE(Preview);
    EXPECT_FALSE(Option->Loading);
    // Filling went past controls still at their designed values (5 here).
    EXPECT_EQ(Settings->pm_bcetext, 3);
    EXPECT_EQ(Changes, 0);
    EXPECT_FALSE(QFile::exists(Settings->ConfigFileName()));
}

TEST_F(OptionFormTest, EachChangeIsAppliedAtOnceInOneUpdateBracket) {
    ShowDialog();
    Option->bbApply->setEnabled(false);
    Type(Option->UpDown1, 27);

    EXPECT_EQ(Settings->pm_bcebce, 27);
    EXPECT_TRUE(Option->bbApply->isEnabled());
    EXPECT_GT(Repaints, 0);
    EXPECT_TRUE(RepaintedInsideUpdate);
    EXPECT_FALSE(ChangedWhileUpdating);
    EXPECT_EQ(Settings->UpdateCount, 0);
    // One notification per applied change, not one per setter.
    EXPECT_EQ(Changes, Repaints);

    Click(Option->cbShakeGOST);
    EXPECT_TRUE(Settings->pm_ShakeGOST);
    Option->Edit15->setText("Begin");
    EXPECT_EQ(Settings->ServPool->GetString("sm_start"), "Begin");
    // The control holds the value within its range.
    Type(Option->UpDown3, 99);
    EXPECT_LE(Settings->pm_sertext, 25);
    EXPECT_FALSE(QFile::exists(Settings->ConfigFileName()));
}

TEST_F(OptionFormTest, ApplyAndOkWriteTheSettingsFile) {
    ShowDialog();
    Type(Option->UpDown9, 33);
    Click(Option->bbApply);

    EXPECT_TRUE(ConfigText().contains("pm_outangle=33"));
    EXPECT_FALSE(Option->bbApply->isEnabled());
    EXPECT_EQ(Refreshes, 1);
    EXPECT_TRUE(Option->isVisible());

    Type(Option->UpDown11, 70);
    Click(Option->bbOK);
    EXPECT_TRUE(ConfigText().contains("pm_forangle=70"));
    EXPECT_FALSE(Option->isVisible());
    EXPECT_EQ(Option->result(), QDialog::Accepted);
    EXPECT_EQ(Settings->pm_forangle, 70);
    EXPECT_TRUE(Prompts.Messages().isEmpty());
}

TEST_F(OptionFormTest, CancelPutsBackEverythingTheDialogChanged) {
    ShowDialog();
    Type(Option->UpDown1, 40);
    Option->Edit18->setText("Nope");
    Click(Option->CheckBox4);
    TFont chosen;
    chosen.Name = "DejaVu Serif";
    chosen.Size = 14;
    Prompts.QueueFont(chosen);
    Click(Option->btnBCE);
    Click(Option->rgLangprog->Button(1));
    ASSERT_EQ(Settings->FontBlock, chosen);
    ASSERT_EQ(ExportLanguage, elCpp);

    Click(Option->bbCancel);

    EXPECT_FALSE(Option->isVisible());
    EXPECT_EQ(Option->result(), QDialog::Rejected);
    EXPECT_EQ(Settings->pm_bcebce, 13);
    EXPECT_EQ(Settings->ServPool->GetString("sm_no"), "Нет");
    EXPECT_FALSE(Settings->pm_alleq);
    EXPECT_EQ(Settings->FontBlock, TFont{});
    EXPECT_EQ(ExportLanguage, elPascal);
    // The chart windows read the block font from the dialog's field.
    EXPECT_EQ(Option->BlockFont(), TFont{});
    EXPECT_GE(Changes, 1);
    EXPECT_GE(LanguageChanges, 1);
    EXPECT_FALSE(QFile::exists(Settings->ConfigFileName()));

    // Escape cancels the same way.
    ShowDialog();
    Type(Option->UpDown2, 44);
    QTest::keyClick(Option.get(), Qt::Key_Escape);
    EXPECT_FALSE(Option->isVisible());
    EXPECT_EQ(Settings->pm_bcetext, 3);
}

TEST_F(OptionFormTest, DefaultKeepsTheInterfaceLanguageAndSurvivesCancel) {
    {
        TIniFile language(Dir.path() + u'/' + Settings->LanguageFileName(mlRussian));
        language.WriteString("Menu", "sm_option_Caption", "Настройка");
        language.UpdateFile();
    }
    Settings->LoadLanguage(mlRussian);
    Settings->pm_bcebce = 30;
    Settings->ServPool->SetString("sm_start", "Go");
    ShowDialog();

    Click(Option->bbDefault);
    EXPECT_EQ(Settings->pm_bcebce, 13);
    EXPECT_EQ(Option->UpDown1->value(), 13);
    EXPECT_EQ(Option->Edit15->text(), "Начало");
    EXPECT_EQ(Settings->MenuPool->GetString("sm_option_Caption"), "Настройка");
    EXPECT_TRUE(Option->isVisible());

    Click(Option->bbCancel);
    EXPECT_EQ(Settings->pm_bcebce, 13);
    EXPECT_EQ(Settings->ServPool->GetString("sm_start"), "Начало");
}

TEST_F(OptionFormTest, ExportLanguageRegeneratesTheCodeAtOnceAndIsStoredWithTheNextApply) {
    ShowDialog();
    Click(Option->rgLangprog->Button(2));
    EXPECT_EQ(ExportLanguage, elBasic);
    EXPECT_EQ(CodeLanguages, QList<int>{elBasic});
    EXPECT_EQ(Settings->LangProg, 0);

    Click(Option->bbApply);
    EXPECT_EQ(Settings->LangProg, 2);
    Click(Option->bbOK);
    // Closing the dialog refreshes the code pane once more.
    EXPECT_EQ(CodeLanguages.last(), elBasic);
}

TEST_F(OptionFormTest, TrackBarHoldsTheRatioWithinItsRange) {
    Settings->pm_absdel = 0.1;
    ShowDialog();
    EXPECT_EQ(Option->TrackBar1->value(), 10);
    EXPECT_EQ(Option->Label13->text(), QString("0%1").arg(QLocale::system().decimalPoint()) + "1");

    Click(Option->bbApply);
    EXPECT_EQ(Settings->pm_absdel, 1.0);

    Option->TrackBar1->setValue(17);
    EXPECT_EQ(Settings->pm_absdel, 1.7);
    EXPECT_EQ(Option->Label13->text(), QString("1%1").arg(QLocale::system().decimalPoint()) + "7");
}

TEST_F(OptionFormTest, FontButtonsChangeTheFontsOnlyWhenConfirmed) {
    ShowDialog();
    Click(Option->btbExp); // no font queued: the dialog is cancelled
    EXPECT_EQ(Settings->FontExport, TFont{});
    EXPECT_EQ(Repaints, 0);
    ASSERT_EQ(Prompts.Records().size(), 1);
    EXPECT_EQ(Prompts.Records()[0].Kind, TPromptKind::Font);

    TFont code;
    code.Name = "Liberation Mono";
    code.Style = fsBold;
    Prompts.QueueFont(code);
    Click(Option->btbExp);
    EXPECT_EQ(Settings->FontExport, code);
    EXPECT_EQ(Option->ExportFont(), code);
    EXPECT_EQ(Option->edExFont->text(), "Liberation Mono");
    EXPECT_GT(Repaints, 0);
}

TEST_F(OptionFormTest, DeleteSpacesBoxDrivesTheTextCleanUp) {
    ShowDialog();
    ASSERT_TRUE(Option->cbDelspace->isChecked());
    EXPECT_TRUE(TextCleanUp);
    Click(Option->cbDelspace);
    EXPECT_FALSE(TextCleanUp);
    EXPECT_FALSE(Settings->pm_delspace);
    Click(Option->bbCancel);
    EXPECT_TRUE(TextCleanUp);
    EXPECT_TRUE(Settings->pm_delspace);
}

TEST_F(OptionFormTest, UnwritableSettingsFileIsReportedAndApplyStaysEnabled) {
    Settings->OnSaveError = [](const QString&) {};
    auto unwritable = std::make_unique<TMainSettings>(Dir.path() + "/missing/");
    unwritable->OnSaveError = [](const QString&) {};
    Option.reset();
    Option = std::make_unique<TOption>(*unwritable);
    Option->show();
    Type(Option->UpDown4, 9);
    Click(Option->bbApply);

    ASSERT_EQ(Prompts.Messages().size(), 1);
    EXPECT_TRUE(Prompts.Messages()[0].startsWith("Unable to write to"));
    EXPECT_TRUE(Option->bbApply->isEnabled());
    EXPECT_EQ(unwritable->pm_linedge, 9);
    Option.reset();
}

TEST_F(OptionFormTest, CaptionsComeFromTheInterfaceTexts) {
    EXPECT_EQ(Option->windowTitle(), "Customize");
    EXPECT_EQ(Option->bbApply->text(), "Apply");
    Settings->MenuPool->SetString("sm_option_Caption", "Einstellungen");
    Settings->MenuPool->SetString("sm_option_Numers", "Blocknummern");
    Option->Localize();
    EXPECT_EQ(Option->windowTitle(), "Einstellungen");
    EXPECT_EQ(Option->cbNumerBlock->text(), "Blocknummern");
    // The first showing opens on the page of the chart labels.
    EXPECT_EQ(Option->PageControl1->currentWidget(), Option->TabSheet3);
}

// Pictures of every page for a person to look at, not a check:
//   TVX_SCREENSHOT_DIR=/tmp/shots app_tests --gtest_also_run_disabled_tests
//       --gtest_filter='*Screenshot*'
TEST_F(OptionFormTest, DISABLED_Screenshot) {
    const QString dir = qEnvironmentVariable("TVX_SCREENSHOT_DIR", QDir::tempPath());
    ShowDialog();
    for (int page = 0; page < Option->PageControl1->count(); ++page) {
        Option->PageControl1->setCurrentIndex(page);
        QCoreApplication::processEvents();
        Option->grab().save(dir + QStringLiteral("/options-%1.png").arg(page + 1));
    }
}
