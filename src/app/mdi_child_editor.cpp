// The in-place text editor of a chart window: opened over a block by a double
// click in edit mode, it grows with its text and, with live preview on,
// writes every change into the block at once; a press in the view commits it.
#include "app/focused_panel.h"
#include "app/inplace_editor.h"
#include "app/main_form.h"
#include "app/mdi_child.h"
#include "app/option_form.h"
#include "chart/fc_list.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextOption>

namespace tvx {
namespace {

const TFont& BlockFont(TMainForm& Main) {
    return Main.GetOption()->BlockFont();
}

} // namespace

void TMDIChild::SetUpEditor() {
    mmInput->setFrameShape(QFrame::Box);
    mmInput->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmInput->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmInput->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmInput->document()->setDocumentMargin(1);
    QTextOption centred = mmInput->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    mmInput->document()->setDefaultTextOption(centred);
    mmInput->installEventFilter(this);
    connect(mmInput, &QPlainTextEdit::textChanged, this, &TMDIChild::mmInputChange);
}

TFlowBlock* TMDIChild::EditTarget() const {
    if (EditBlock == nullptr || Chart == nullptr) {
        return nullptr;
    }
    const int index = std::max(EditIndex, 0);
    // After an undo or a switch of tabs the block may have gone.
    if (index >= Chart->Count() || Chart->GetBlock(index) != EditBlock) {
        return nullptr;
    }
    return EditBlock;
}

void TMDIChild::OpenEditor() {
    TFlowBlock* block = HitBlock();
    if (block == nullptr) {
        return;
    }
    EditBlock = block;
    EditOpenedText = block->Text;
    mmInput->setFont(ToQFont(BlockFont(Main)));
    mmInput->setPlainText(EditorTextOf(block->Text)); // sizes the editor
    const TRect r = block->InRect;
    mmInput->move(Zooming(r.Left + (r.Right - r.Left) / 2 - mmInput->width() / 2) + ScrollX,
                  Zooming(r.Top + (r.Bottom - r.Top) / 2 - mmInput->height() / 2) + ScrollY);
    mmInput->show();
    mmInput->setFocus();
    mmInput->selectAll();
    HitTestEnabled = false;
}

void TMDIChild::CommitEditor() {
    EditIndex = std::max(EditIndex, 0);
    if (TFlowBlock* block = EditTarget()) {
        block->Text = BlockTextOf(mmInput->toPlainText());
    }
    HideEditor();
    // Also for a window no longer the active one (another was activated).
    Main.MakeAction(*this);
}

void TMDIChild::CommitEdit() {
    if (EditBlock == nullptr) {
        return;
    }
    const TFlowBlock* block = EditTarget();
    if (block == nullptr ||
        (block->Text == EditOpenedText && BlockTextOf(mmInput->toPlainText()) == EditOpenedText)) {
        HideEditor(); // no edit: no undo step, no change to ask about
        return;
    }
    CommitEditor();
    RePaintChem();
}

void TMDIChild::HideEditor() {
    const bool hadFocus = mmInput->hasFocus();
    mmInput->hide();
    EditBlock = nullptr;
    HitTestEnabled = true;
    if (hadFocus) {
        PanelPaint->setFocus();
    }
}

void TMDIChild::mmInputChange() {
    const TSize size = InPlaceEditorSize(mmInput->toPlainText(), BlockFont(Main));
    mmInput->resize(size.Width, size.Height);
    if (!Main.cbPreview->isChecked()) {
        return;
    }
    if (TFlowBlock* block = EditTarget()) {
        block->Text = BlockTextOf(mmInput->toPlainText());
        MarkChanged();
        Main.RefreshCode(*this); // no undo step for each key
        RePaintChem();           // which centres the editor again
    }
}

void TMDIChild::mmInputKeyPress(const QString& Typed) {
    if (Typed.isEmpty() || !Typed.at(0).isPrint()) {
        return;
    }
    mmInput->resize(std::max(mmInput->width(), TypedTextWidth(Typed, BlockFont(Main))),
                    mmInput->height());
}

bool TMDIChild::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == mmInput && Event->type() == QEvent::KeyPress) {
        mmInputKeyPress(static_cast<QKeyEvent*>(Event)->text());
    }
    if ((Watched == mmInputCode || Watched == reCode) && Event->type() == QEvent::FocusIn) {
        PaneClicked = static_cast<QFocusEvent*>(Event)->reason() == Qt::MouseFocusReason;
    }
    return QWidget::eventFilter(Watched, Event);
}

} // namespace tvx
