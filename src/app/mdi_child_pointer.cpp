// Pointer input of a chart window's view: the hit test, the feedback while
// the pointer moves (cursor, popup, status bar, hint), selection by clicks,
// dragging the chart, and the double click that edits, adds or deletes by
// the tool mode of the main window.
#include "app/chart_view.h"
#include "app/cursors.h"
#include "app/focused_panel.h"
#include "app/interface_texts.h"
#include "app/main_form.h"
#include "app/mdi_child.h"
#include "chart/fc_list.h"
#include "settings/main_settings.h"
#include "settings/string_pool.h"

#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>

namespace tvx {
void TMDIChild::RefreshCurcorPos() {
    if (!HitTestEnabled) {
        return;
    }
    MouseInfo.BlockIndex = -1;
    MouseInfo.Branch = -1;
    MouseInfo.HitKind = hkBranch;
    if (Chart == nullptr) {
        return;
    }
    const TPoint p{UnZooming(MouseX - ScrollX), UnZooming(MouseY - ScrollY)};
    const std::vector<TFlowBlock*>& blocks = Chart->GetList();
    for (int i = 0; i < int(blocks.size()); ++i) {
        const TFlowBlock& block = *blocks[i];
        if (PtInRect(block.InRect, p)) {
            MouseInfo.BlockIndex = i;
            MouseInfo.HitKind = hkElement;
            return;
        }
        if (PtInRect(block.OutRect, p)) {
            MouseInfo.BlockIndex = i;
            MouseInfo.HitKind = hkNode;
            return;
        }
        for (int j = 0; j < block.ItemCount(); ++j) {
            if (PtInRect(block.GetItemRect(j), p)) {
                MouseInfo.BlockIndex = i;
                MouseInfo.Branch = j;
                return;
            }
        }
    }
}

QString TMDIChild::TypeText(TBlockKind Kind) const {
    switch (Kind) {
    case bkProcess:
        return Main.sbProcess->toolTip();
    case bkCase:
    case bkCall:
        return Main.sbCall->toolTip();
    case bkIfElse:
        return Main.sbIfelse->toolTip();
    case bkWhile:
        return Main.sbWhile->toolTip();
    case bkRepeat:
        return Main.sbRepeat->toolTip();
    case bkFor:
        return Main.sbForto->toolTip();
    case bkRoot:
        return MenuText("sm_name_start");
    case bkOutput:
        return Main.sbWriteln->toolTip();
    case bkInput:
        return Main.sbOuput->toolTip();
    default:
        return QString();
    }
}

void TMDIChild::SetModeCursor(Qt::MouseButtons Buttons) {
    struct TModeFeedback {
        QAction* Button;
        int Cursor;
    };
    const bool grabbing = Buttons.testFlag(Qt::LeftButton);
    const TModeFeedback modes[] = {
        {Main.sbAdd, crAddBlock},
        {Main.sbDel, crDeleteBlock},
        {Main.sbEditing, crEditText},
    };
    for (const TModeFeedback& mode : modes) {
        if (mode.Button->isChecked()) {
            pbOut->setCursor(ChartCursor(mode.Cursor));
            Main.StatusPanels[0]->setText(mode.Button->toolTip());
            return;
        }
    }
    // Moving the chart: an open editor goes, its text kept in its block.
    if (mmInput->isVisible()) {
        CommitEdit();
    }
    if (Main.sbHand->isChecked()) {
        Main.StatusPanels[0]->setText(Main.sbHand->toolTip());
        pbOut->setCursor(ChartCursor(grabbing ? crHandGrab : crHand));
    }
}

void TMDIChild::ShowHit() {
    pbOut->setToolTip(QString());
    const TFlowBlock* block = HitBlock();
    if (block == nullptr) {
        return; // the status panels keep their texts
    }
    const QString type = TypeText(block->Kind);
    const QString kind = MenuText("sm_name_kind") + QStringLiteral(": ") + type;
    QString hint;
    if (MouseInfo.HitKind == hkElement) {
        const QString element = MenuText("sm_name_element");
        hint = element + u'\n' + kind + u'\n' + MenuText("sm_name_text") + QStringLiteral(": ") +
               block->Text;
        Main.StatusPanels[1]->setText(element);
        Main.StatusPanels[2]->setText(type);
        Main.StatusPanels[3]->setText(block->Text);
    } else {
        const QString node = MenuText("sm_name_node");
        hint = node + u'\n' + kind + u'\n';
        Main.StatusPanels[1]->setText(node);
        Main.StatusPanels[2]->setText(type);
        Main.StatusPanels[3]->clear();
    }
    pbOut->setToolTip(hint);
}

void TMDIChild::pbOutMouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers, QPoint At) {
    // The hit test is made where the pointer is now, so that the feedback and
    // the popup belong to the block under the pointer, not to the one it
    // was over a move before.
    MouseX = At.x();
    MouseY = At.y();
    RefreshCurcorPos();
    ViewPopup = MouseInfo.HitKind == hkElement ? PopupShakes : PopupFlow;
    pbOut->setCursor(Qt::ArrowCursor);
    if (MouseInfo.BlockIndex != -1) {
        SetModeCursor(Buttons);
    }
    if (Buttons.testFlag(Qt::LeftButton)) {
        // Dragging moves the chart in every mode, without limit; the scroll
        // bars show their nearest position.
        ScrollX = At.x() - DragStartX + DragScrollX;
        ScrollY = At.y() - DragStartY + DragScrollY;
        PaintChem();
    }
    UpdateScrollRanges();
    ShowHit();
}

void TMDIChild::SelectHit(bool Shift) {
    TFlowBlock* block = MouseInfo.BlockIndex > 0 ? HitBlock() : nullptr;
    if (block == nullptr || !Shift) {
        Chart->Selection.Clear();
        Chart->ClearMarks();
    }
    if (block != nullptr) {
        if (!Chart->Selection.Contains(block)) {
            Chart->Selection.Add(block);
        }
        block->Mark = 1;
    }
}

void TMDIChild::pbOutMouseDown(Qt::MouseButton Button, Qt::MouseButtons Buttons,
                               Qt::KeyboardModifiers Modifiers, QPoint At, bool Double) {
    Guarded([&] {
        PanelPaint->setFocus();
        MouseX = At.x();
        MouseY = At.y();
        const bool enabled = HitTestEnabled;
        HitTestEnabled = true;
        RefreshCurcorPos();
        HitTestEnabled = enabled;
        if (Chart != nullptr) {
            SelectHit(Modifiers.testFlag(Qt::ShiftModifier));
        }
        // A press in the view ends the editing in edit mode; the second
        // press of a double click does not.
        if (Main.sbEditing->isChecked() && mmInput->isVisible() && !Double) {
            CommitEditor();
        }
        RePaintChem();
        DragStartX = At.x();
        DragStartY = At.y();
        DragScrollX = ScrollX;
        DragScrollY = ScrollY;
        if (Button == Qt::MiddleButton) {
            Main.sbEditing->setChecked(true);
        }
        if (Main.sbHand->isChecked()) {
            pbOut->setCursor(ChartCursor(Buttons.testFlag(Qt::LeftButton) ? crHandGrab : crHand));
        }
    });
}

void TMDIChild::pbOutMouseUp() {
    // Nothing to finish: a drag has no end action.
}

void TMDIChild::AddAtHit() {
    struct TTypeButton {
        QAction* Button;
        TBlockKind Kind;
    };
    const TTypeButton types[] = {
        {Main.sbPageBreak, bkPageBreak}, {Main.sbProcess, bkProcess}, {Main.sbCase, bkCase},
        {Main.sbCall, bkCall},           {Main.sbIfelse, bkIfElse},   {Main.sbWhile, bkWhile},
        {Main.sbRepeat, bkRepeat},       {Main.sbForto, bkFor},       {Main.sbOuput, bkInput},
        {Main.sbWriteln, bkOutput},
    };
    TFlowBlock* target = HitBlock();
    if (target == nullptr) {
        return;
    }
    for (const TTypeButton& type : types) {
        if (type.Button->isChecked()) {
            const QString text = ServText("sm_default_name") + QString::fromUtf8(" №") +
                                 QString::number(Chart->Count());
            // A page break too deep in the chart is refused; nothing is added.
            Chart->AddBlock(target, type.Kind, -1, text, &MouseInfo);
            return;
        }
    }
}

void TMDIChild::pbOutDblClick() {
    Guarded([&] {
        if (MouseInfo.BlockIndex == -1 || HitBlock() == nullptr) {
            return;
        }
        if (MouseInfo.HitKind == hkElement) {
            EditIndex = MouseInfo.BlockIndex;
            if (Main.sbEditing->isChecked()) {
                OpenEditor();
            } else {
                CommitEdit();
            }
        }
        if (Main.sbAdd->isChecked() && !mmInput->isVisible()) {
            AddAtHit();
        }
        if (Main.sbDel->isChecked()) {
            if (TFlowBlock* block = HitElement()) {
                Chart->DeleteBlock(block);
            }
        }
        ChartEdited();
    });
}

} // namespace tvx
