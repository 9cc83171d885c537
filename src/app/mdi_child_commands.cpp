// The block commands of a chart window: the popup over a block (kind
// changes, if variants, block clipboard, delete, text clipboard), the add
// and paste items of the other popup, and the keys of the chart.
#include "app/chart_view.h"
#include "app/focused_panel.h"
#include "app/main_form.h"
#include "app/mdi_child.h"
#include "chart/block_clipboard.h"
#include "chart/fc_list.h"
#include "platform/prompts.h"
#include "platform/text_clipboard.h"

#include <QMenu>

namespace tvx {
namespace {

constexpr std::uint16_t vkDelete = 46;
constexpr std::uint16_t vkC = 67;
constexpr std::uint16_t vkV = 86;
constexpr std::uint16_t vkX = 88;

bool IsIfVariant(TBlockKind Kind) {
    return Kind >= bkIfYesLeft && Kind <= bkIfVariant16;
}

QString Utf8(const char* Text) {
    return QString::fromUtf8(Text);
}

// The first marked block that may be deleted (the root never is).
TFlowBlock* FirstMarked(const TFCList& Chart) {
    const std::vector<TFlowBlock*>& blocks = Chart.GetList();
    for (size_t i = 1; i < blocks.size(); ++i) {
        if (blocks[i]->Mark == 1) {
            return blocks[i];
        }
    }
    return nullptr;
}

} // namespace

void TMDIChild::BuildPopupShakes() {
    auto item = [this](QMenu* menu, const char* caption, auto handler) {
        QAction* action = menu->addAction(Utf8(caption));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto kind = [this](TBlockKind Kind, int Branches) {
        return [this, Kind, Branches] { ChangeKind(Kind, Branches); };
    };
    auto press = [](QAction* button) { return [button] { button->setChecked(true); }; };

    PopupShakes = new QMenu(this);
    PopupShakes->setObjectName(QStringLiteral("PopupShakes"));
    N17 = PopupShakes->addMenu(Utf8("Сменить тип блока"));
    N18 = item(N17, "процесс", kind(bkProcess, 0));
    N19 = item(N17, "процедура", kind(bkCall, 0));
    N20 = item(N17, "ввод данных", kind(bkInput, 0));
    N21 = item(N17, "вывод данных", kind(bkOutput, 0));
    ifelse1 = N17->addMenu(Utf8("блок if else"));
    N22 = item(ifelse1, "Both nodes", [this] { N22Click(); });
    if1 = item(ifelse1, "Yes Left", [this] { if1Click(); });
    YesCenter1 = ifelse1->addAction(QStringLiteral("Yes Center"));
    YesRight1 = ifelse1->addAction(QStringLiteral("Yes Right"));
    NoLeft1 = ifelse1->addAction(QStringLiteral("No Left"));
    NoCenter1 = ifelse1->addAction(QStringLiteral("No Center"));
    else1 = item(ifelse1, "No Right", [this] { else1Click(); });
    for (QAction* hidden : {YesCenter1, YesRight1, NoLeft1, NoCenter1, else1}) {
        hidden->setVisible(false);
    }
    N17->addAction(QString()); // an empty item without a command
    fordo1 = item(N17, "блок for .. do", kind(bkFor, 1));
    whiledo = item(N17, "блок while .. do", kind(bkWhile, 1));
    repeatuntil1 = item(N17, "блок repeat .. until", kind(bkRepeat, 1));

    N35 = item(PopupShakes, "Блок Вырезать", [this] { N35Click(); });
    N34 = item(PopupShakes, "Блок Копировать", [this] { N34Click(); });
    N15 = item(PopupShakes, "Блок Удалить", [this] { N15Click(); });
    PopupShakes->addSeparator();
    N14 = item(PopupShakes, "Редактировать текст", [this] { N14Click(); });
    N28 = PopupShakes->addMenu(Utf8("Текст"));
    N29 = item(N28, "Вставить справа", [this] { N29Click(); });
    N30 = item(N28, "Вставить слева", [this] { N30Click(); });
    N25 = item(N28, "Вырезать", [this] { N25Click(); });
    N24 = item(N28, "Скопировать", [this] { N24Click(); });
    N26 = item(N28, "Вставить", [this] { N26Click(); });
    N28->addSeparator();
    N31 = N28->addAction(Utf8("Комментарий"));
    N31->setEnabled(false);
    N23 = item(PopupShakes, "Передвинуть схему", press(Main.sbHand));
}

void TMDIChild::ChangeKind(TBlockKind Kind, int Branches) {
    Guarded([&] {
        TFlowBlock* block = HitElement();
        if (block == nullptr || block->ItemCount() != Branches) {
            return;
        }
        // A page break that becomes another kind no longer counts as one.
        if (block->Kind == bkPageBreak && Kind != bkPageBreak) {
            --Chart->PageBreakCount;
        }
        block->Kind = Kind;
        ChartEdited();
    });
}

void TMDIChild::N22Click() {
    TFlowBlock* block = HitElement();
    if (block == nullptr || !IsIfVariant(block->Kind)) {
        return;
    }
    block->Kind = bkIfElse;
    MarkChanged();
    RePaintChem();
}

void TMDIChild::if1Click() {
    MakeOneBranchIf(1, bkIfYesLeft, "Правая ветвь не пуста");
}

void TMDIChild::else1Click() {
    MakeOneBranchIf(0, bkIfNoRight, "Левая ветвь не пуста");
}

void TMDIChild::MakeOneBranchIf(int Dropped, TBlockKind Kind, const char* NotEmpty) {
    // Only the two-branch ifs: a multi-way selection would lose its third branch.
    TFlowBlock* block = HitElement();
    if (block == nullptr || block->ItemCount() != 2) {
        return;
    }
    if (block->GetItemChain(Dropped) != nullptr) {
        Prompts().ShowMessage(Utf8(NotEmpty));
        return;
    }
    block->Kind = Kind;
    MarkChanged();
    RePaintChem();
}

void TMDIChild::N34Click() {
    Guarded([&] { Main.BlockClipboard = CopySelected(*Chart); });
}

void TMDIChild::N35Click() {
    Guarded([&] {
        Main.BlockClipboard = CopySelected(*Chart);
        if (!Main.BlockClipboard) {
            return;
        }
        // What goes is what was copied: the first marked block.
        Chart->DeleteBlock(FirstMarked(*Chart));
        ChartEdited();
    });
}

void TMDIChild::Paste1Click() {
    Guarded([&] {
        if (!Main.BlockClipboard) {
            Prompts().ShowMessage(Utf8("Буфер обмена пуст!"));
            return;
        }
        // A paste that changed nothing (no place targeted, or one too deep
        // for the blocks) leaves the history as it is.
        if (Paste(*Chart, Main.BlockClipboard.get(), MouseInfo)) {
            ChartEdited();
        }
    });
}

void TMDIChild::N15Click() {
    Guarded([&] {
        if (TFlowBlock* block = HitElement()) {
            Chart->DeleteBlock(block);
        }
        while (TFlowBlock* marked = FirstMarked(*Chart)) {
            Chart->DeleteBlock(marked);
        }
        ChartEdited();
    });
}

void TMDIChild::N14Click() {
    Main.sbEditing->setChecked(true);
    pbOutDblClick();
}

void TMDIChild::AddFromPopup(QAction* TypeButton) {
    Main.sbAdd->setChecked(true);
    if (MouseInfo.BlockIndex != -1) {
        TypeButton->setChecked(true);
        pbOutDblClick();
    }
}

void TMDIChild::N24Click() {
    if (const TFlowBlock* block = HitElement()) {
        TextClipboard().SetText(block->Text);
    }
}

void TMDIChild::N25Click() {
    TFlowBlock* block = HitElement();
    // Like the other text commands, nothing happens while the clipboard
    // already holds the block's text.
    if (block == nullptr || block->Text == TextClipboard().Text()) {
        return;
    }
    TextClipboard().SetText(block->Text);
    block->Text.clear();
    ChartEdited();
}

void TMDIChild::ChangeTextFromClipboard(QString (*Combine)(const QString& Text,
                                                           const QString& Clip)) {
    TFlowBlock* block = HitElement();
    const QString clip = TextClipboard().Text();
    // An empty clipboard leaves the text as it is.
    if (block == nullptr || clip.isEmpty() || block->Text == clip) {
        return;
    }
    block->Text = Combine(block->Text, clip);
    ChartEdited();
}

void TMDIChild::N26Click() {
    ChangeTextFromClipboard([](const QString&, const QString& clip) { return clip; });
}

void TMDIChild::N29Click() {
    ChangeTextFromClipboard([](const QString& text, const QString& clip) {
        return text + QStringLiteral("; ") + clip;
    });
}

void TMDIChild::N30Click() {
    ChangeTextFromClipboard([](const QString& text, const QString& clip) {
        return clip + QStringLiteral("; ") + text;
    });
}

void TMDIChild::PanelPaintKeyDown(QObject*, TEventKeyBoardArgs& Args) {
    const bool ctrl = (Args.Shift & ssCtrl) != 0;
    if (Args.Key == vkDelete) {
        N15Click();
    } else if (ctrl && Args.Key == vkX) {
        N35Click();
    } else if (ctrl && Args.Key == vkC) {
        N34Click();
    } else if (ctrl && Args.Key == vkV) {
        Paste1Click();
    } else {
        return;
    }
    pbOut->update();
}

} // namespace tvx
