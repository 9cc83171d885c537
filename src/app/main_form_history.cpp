// The after-edit action (code pane and undo snapshot) and undo and redo.
#include "app/interface_texts.h"
#include "app/main_form.h"
#include "app/mdi_child.h"
#include "chart/fc_list.h"
#include "codegen/code_generator.h"
#include "codegen/code_sink.h"
#include "codegen/export_state.h"
#include "platform/prompts.h"

#include <QAction>
#include <QDir>

namespace tvx {

void TMainForm::RefreshCode(TMDIChild& Child) {
    Child.CodeBuffer2.clear();
    Child.CodeBuffer1.clear();
    ExportMode = emPreview;
    if (Child.Chart != nullptr && Child.Chart->Count() > 0) {
        TCodeSink sink(Child.CodeBuffer1, Child.CodeBuffer2);
        SavePartToFile(sink, Child.Chart->First());
    }
    Child.ShowCode();
}

void TMainForm::MakeAction() {
    if (TMDIChild* child = ActiveMDIChild()) {
        MakeAction(*child);
    }
}

void TMainForm::MakeAction(TMDIChild& Child) {
    RefreshCode(Child);
    Child.MarkChanged();
    if (!Child.History.Enabled()) {
        ReportUndoOff();
    }
    const QString error = Child.History.Append(*Child.Chart);
    if (!error.isEmpty()) {
        Prompts().ShowMessage(error);
    }
    UpdateHistoryButtons();
}

void TMainForm::ReportUndoOff() {
    if (UndoOffReported) {
        return;
    }
    UndoOffReported = true;
    const QString reason = Snapshots ? Snapshots->errorString() : QString();
    Prompts().ShowMessage(
        MenuText("sm_mes_no_undo").arg(QDir::toNativeSeparators(TempDir), reason));
}

void TMainForm::UpdateHistoryButtons() {
    TMDIChild* child = ActiveMDIChild();
    // At start, before the first chart window, both pairs are enabled; with
    // no window they do nothing.
    const bool start = child == nullptr && ChartCounter == 0;
    const bool canUndo = start || (child != nullptr && child->History.CanUndo());
    const bool canRedo = start || (child != nullptr && child->History.CanRedo());
    N9->setEnabled(canUndo);
    SpeedButton6->setEnabled(canUndo);
    N10->setEnabled(canRedo);
    SpeedButton5->setEnabled(canRedo);
}

void TMainForm::N9Click() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return;
    }
    child->CommitEdit(); // the text typed is a step of its own, undone first
    if (!child->History.Undo(*child->Chart)) {
        return;
    }
    child->MarkChanged();
    // The code pane follows the chart back, without a snapshot of its own.
    RefreshCode(*child);
    child->RePaintChem();
    UpdateHistoryButtons();
}

void TMainForm::N10Click() {
    TMDIChild* child = ActiveMDIChild();
    if (child == nullptr) {
        return;
    }
    child->CommitEdit(); // the text typed is a step of its own
    if (!child->History.Redo(*child->Chart)) {
        return;
    }
    child->MarkChanged();
    RefreshCode(*child);
    child->RePaintChem();
    UpdateHistoryButtons();
}

} // namespace tvx
