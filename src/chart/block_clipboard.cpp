#include "chart/block_clipboard.h"
#include "chart/chart_xml.h"
#include "chart/fc_list.h"
#include "chart/nesting_limit.h"
#include "platform/prompts.h"
#include <algorithm>
#include <vector>

namespace tvx {
namespace {

// The root cannot be copied: it has no place in another chart's chains.
const TFlowBlock* FirstMarked(const TFCList& Chart) {
    for (const TFlowBlock* block : Chart.GetList()) {
        if (block->Mark == 1 && block->Index != 0 && block->Kind != bkRoot) {
            return block;
        }
    }
    return nullptr;
}

} // namespace

std::unique_ptr<TFCList> CopySelected(const TFCList& Chart) {
    const TFlowBlock* marked = FirstMarked(Chart);
    if (marked == nullptr) {
        return nullptr;
    }
    auto clipboard = std::make_unique<TFCList>();
    TFlowBlock* root = clipboard->AddBlock(nullptr, bkRoot, -1, ClipboardRootText, nullptr);
    TMouseInfo mouseInfo(-1);
    mouseInfo.BlockIndex = 0;
    CopySubtree(*clipboard, *marked, root, marked->Kind, marked->Text, mouseInfo);
    return clipboard;
}

TFlowBlock* CopySubtree(TFCList& Clipboard, const TFlowBlock& Source, TFlowBlock* Target,
                        TBlockKind Kind, const QString& Text, TMouseInfo& MouseInfo) {
    TFlowBlock* copy = Clipboard.AddBlock(Target, Kind, -1, Text, &MouseInfo);
    if (copy == nullptr) {
        return nullptr;
    }
    // One entry per copied block whose branches are still being copied, so
    // the depth of the subtree costs no stack.
    struct TOpen {
        const TFlowBlock* Source;
        TFlowBlock* Copy;
        int Branch;                // the branch being copied, -1 before the first
        const TFlowBlock* Pending; // the next block of that branch to copy
        TFlowBlock* Previous;      // the last copy made in it; Copy while none is
    };
    std::vector<TOpen> open{{&Source, copy, -1, nullptr, copy}};
    while (!open.empty()) {
        TOpen& o = open.back();
        if (o.Pending == nullptr) {
            if (++o.Branch >= o.Copy->ItemCount()) {
                open.pop_back();
            } else {
                o.Pending = o.Source->GetItemChain(o.Branch);
                o.Previous = o.Copy;
            }
            continue;
        }
        // The first block that can be copied heads the branch; each further
        // one follows the copy of its predecessor.
        const TFlowBlock* source = o.Pending;
        o.Pending = source->Next;
        MouseInfo.Branch = o.Previous == o.Copy ? o.Branch : -1;
        MouseInfo.BlockIndex = o.Previous->Index;
        TFlowBlock* made =
            Clipboard.AddBlock(o.Previous, source->Kind, -1, source->Text, &MouseInfo);
        if (made != nullptr) {
            o.Previous = made;
            open.push_back({source, made, -1, nullptr, made});
        }
    }
    return copy;
}

bool Paste(TFCList& Chart, const TFCList* Clipboard, const TMouseInfo& MouseInfo) {
    if (Clipboard == nullptr || Clipboard->Count() < 2 || MouseInfo.BlockIndex < 0 ||
        MouseInfo.BlockIndex >= Chart.Count()) {
        return false;
    }
    TFlowBlock* target = Chart.GetBlock(MouseInfo.BlockIndex);
    int branch = MouseInfo.Branch;
    if (target->Parent == nullptr && branch == -1) {
        branch = 0; // the root has no place after it: its chain's head is meant
    }
    if (branch < -1 || branch >= target->ItemCount()) {
        return false;
    }

    // The blocks come back as a save and a load would give them, with no
    // scratch file on disk.
    std::optional<TChartBlocks> read = ReadChartXml(ChartToXml(*Clipboard));
    if (!read) {
        Prompts().ShowMessage(LoadFailedMessage);
        return false;
    }
    TFlowBlock* scratchRoot = read->Blocks.front().get();
    TFlowBlock* first = scratchRoot->GetItemChain(0);
    if (first == nullptr) {
        return false;
    }
    TFlowBlock* last = first;
    while (last->Next != nullptr) {
        last = last->Next;
    }

    const int levelShift = branch < 0 ? target->Level - 1 : target->Level;
    int deepest = 0;
    for (const auto& block : read->Blocks) {
        deepest = std::max(deepest, block->Level);
    }
    if (!WithinNestingLimit(deepest + levelShift)) {
        Prompts().ShowMessage(NestingLimitMessage());
        return false;
    }
    TFlowBlock* parent = branch < 0 ? target->Parent : target;
    for (size_t k = 1; k < read->Blocks.size(); ++k) {
        std::unique_ptr<TFlowBlock>& block = read->Blocks[k];
        block->Level += levelShift;
        if (block->Parent == scratchRoot) {
            block->Parent = parent;
        }
        block->Index = Chart.Count();
        if (block->Kind == bkPageBreak) {
            ++Chart.PageBreakCount;
        }
        Chart.Add(std::move(block));
    }
    // The whole root chain of the clipboard goes in, so no pasted block is
    // left outside the chains.
    if (branch < 0) {
        last->Next = target->Next;
        target->Next = first;
    } else {
        last->Next = target->GetItemChain(branch);
        target->SetItemChain(branch, first);
    }
    first->Mark = 1;
    return true;
}

} // namespace tvx
