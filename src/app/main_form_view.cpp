// Zoom, refresh, the move to the origin, the help panel, the interface
// language and the live-preview switch.
#include "app/main_form.h"
#include "app/mdi_child.h"
#include "platform/prompts.h"
#include "settings/main_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <algorithm>

namespace tvx {
namespace {

constexpr int ZoomStep = 10;
constexpr int ZoomButtonsMax = 500;
constexpr long long ZoomFieldMax = 65535;

} // namespace

int TMainForm::Zooming(int V) const {
    TMDIChild* child = ActiveMDIChild();
    return child ? child->Zooming(V) : V;
}

int TMainForm::UnZooming(int V) const {
    TMDIChild* child = ActiveMDIChild();
    return child ? child->UnZooming(V) : V;
}

void TMainForm::SetComboText(const QString& Text) {
    ChangingCombo = true;
    ComboBox1->setEditText(Text);
    ChangingCombo = false;
}

void TMainForm::SetZoom(TMDIChild& Child, long long Percent) {
    Child.Zoom = std::uint16_t(std::clamp(Percent, 1LL, ZoomFieldMax));
    Child.PaintChem();
}

void TMainForm::SpeedButton2Click() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return;
    }
    if (child->Zoom >= ZoomStep && child->Zoom < ZoomButtonsMax) {
        child->Zoom += ZoomStep;
    }
    SetComboText(QString::number(child->Zoom));
    child->PaintChem();
}

void TMainForm::SpeedButton1Click() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return;
    }
    if (child->Zoom > ZoomStep && child->Zoom < ZoomButtonsMax + 1) {
        child->Zoom -= ZoomStep;
    }
    SetComboText(QString::number(child->Zoom));
    child->PaintChem();
}

void TMainForm::ComboBox1Change() {
    TMDIChild* child = ActiveMDIChild();
    if (ChangingCombo || child == nullptr) {
        return;
    }
    ChangingCombo = true; // the message box takes the focus from the box
    bool ok = false;
    long long percent = ComboBox1->currentText().trimmed().toLongLong(&ok);
    if (!ok) {
        ComboBox1->setEditText(QStringLiteral("100"));
        Prompts().ShowMessage(QStringLiteral("Unavaliable symbol for zoom!"));
        percent = 100;
    }
    // The zoom field holds 1 .. 65535; the box shows what was taken.
    const long long taken = std::clamp(percent, 1LL, ZoomFieldMax);
    if (taken != percent) {
        ComboBox1->setEditText(QString::number(taken));
    }
    ChangingCombo = false;
    SetZoom(*child, taken);
}

void TMainForm::sbZeroClick() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return;
    }
    child->ScrollX = 0;
    child->ScrollY = 0;
    child->RePaintChem();
}

void TMainForm::N7Click() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return;
    }
    child->RePaintChem();
    child->repaint();
}

void TMainForm::N4Click() {
    Panel1->show();
    LoadHelp(ProgramDir + QStringLiteral("readme.txt"), true);
}

void TMainForm::Button1Click() {
    HideHelp();
}

void TMainForm::English1Click(int Index) {
    try {
        MainSettings->SetMenuLanguage(std::uint8_t(Index));
    } catch (const std::exception& e) {
        ReportIniFailure(e);
    }
    // A language file that could not be completed still switched the texts;
    // the check marks follow the language in force either way.
    Localize();
}

void TMainForm::cbPreviewClick() {
    MainSettings->SetPreviewByChanges(cbPreview->isChecked());
}

} // namespace tvx
