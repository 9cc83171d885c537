#include "chart/fc_list.h"
#include "chart/nesting_limit.h"
#include "platform/bitmap.h"
#include "settings/main_settings.h"
#include "support/arrays.h"
#include <algorithm>
#include <unordered_set>

namespace tvx {

namespace {

const QString InvalidIndex = QStringLiteral("invalid index!");

constexpr std::uint16_t NewBlockWidth = 50;
constexpr std::uint16_t NewBlockHeight = 25;

TPixelFormat SettingsPixelFormat() {
    int format = MainSettings != nullptr ? int(MainSettings->PixelFormat) : int(pf16bit);
    return format <= pfCustom ? TPixelFormat(format) : pfDevice;
}

std::unique_ptr<TFlowBlock> CreateBlock(TBlockKind Kind, const QString& Text) {
    auto block = std::make_unique<TFlowBlock>();
    block->Bitmap->SetPixelFormat(SettingsPixelFormat());
    block->SetWidth(NewBlockWidth);
    block->SetHeight(NewBlockHeight);
    block->Kind = Kind;
    block->Text = Text;
    block->Items.resize(size_t(BranchCount(Kind)));
    if (Kind == bkCase) {
        for (size_t j = 0; j < block->Items.size(); ++j) {
            block->Items[j].CondName = QStringLiteral("cond%1").arg(j);
        }
    }
    return block;
}

// Makes B the head of branch Branch of T, in front of the old head.
void LinkAsBranchHead(TFlowBlock* T, int Branch, TFlowBlock* B) {
    B->Level = T->Level + 1;
    B->Parent = T;
    B->Next = T->GetItemChain(Branch);
    T->SetItemChain(Branch, B);
}

} // namespace

TFCList::TFCList()
    : PageBitmap(std::make_unique<TBitmap>()), ChartBitmap(std::make_unique<TBitmap>()) {}

TFCList::~TFCList() {
    for (TFlowBlock* block : List) {
        delete block;
    }
}

bool TFCList::Holds(const TFlowBlock* Block) const {
    return Block != nullptr && Block->Index >= 0 && Block->Index < Count() &&
           List[size_t(Block->Index)] == Block;
}

void TFCList::Renumber() {
    for (size_t i = 0; i < List.size(); ++i) {
        List[i]->Index = int(i);
    }
}

void TFCList::Error(const QString& Message) const {
    throw EChartError(Message);
}

TFlowBlock* TFCList::GetBlock(int Position) const {
    if (Position < 0 || Position >= Count()) {
        RaiseArrayIndexError(Position);
    }
    return List[size_t(Position)];
}

TFlowBlock* TFCList::First() const {
    return GetBlock(0);
}

int TFCList::MaxLevel() const {
    int level = 0;
    for (const TFlowBlock* block : List) {
        level = std::max(level, block->Level);
    }
    return level;
}

int TFCList::Add(std::unique_ptr<TFlowBlock> Block) {
    List.push_back(Block.release());
    return Count() - 1;
}

TFlowBlock* TFCList::AddBlock(TFlowBlock* Target, TBlockKind Kind, int /*Level*/,
                              const QString& Text, const TMouseInfo* MouseInfo) {
    if (Kind == bkRoot) {
        // A document holds one root, and it is item 0.
        if (Count() != 0) {
            Error(InvalidIndex);
        }
        auto root = CreateBlock(Kind, Text);
        root->Index = 0;
        Add(std::move(root));
        return List.front();
    }
    // Everything is checked before the document changes.
    if (!Holds(Target)) {
        Error(InvalidIndex);
    }
    if (Kind == bkPageBreak && Target->Level > 1) {
        return nullptr;
    }
    bool intoRoot = Target->Level == 0;
    int branch = intoRoot ? 0 : (MouseInfo != nullptr ? MouseInfo->Branch : -2);
    if (branch < -1 || branch >= Target->ItemCount()) {
        Error(InvalidIndex);
    }
    if (!WithinNestingLimit(branch == -1 ? Target->Level : Target->Level + 1)) {
        throw ENestingLimit();
    }

    auto created = CreateBlock(Kind, Text);
    TFlowBlock* block = created.get();
    if (branch == -1) {
        block->Level = Target->Level;
        block->Parent = Target->Parent;
        block->Next = Target->Next;
        Target->Next = block;
    } else {
        LinkAsBranchHead(Target, branch, block);
    }
    block->Index = Count();
    Add(std::move(created));
    if (Kind == bkPageBreak) {
        ++PageBreakCount;
        block->Text = QString::number(PageBreakCount);
    }
    return block;
}

void TFCList::DeleteBlock(TFlowBlock* Block) {
    if (!Holds(Block) || Block->Index == 0) {
        Error(InvalidIndex);
    }

    // The block and everything nested in its branches. Only blocks of this
    // document count, each once, and never the root, so a damaged chart with
    // looping chains cannot make the walk run on or free a block twice.
    std::vector<TFlowBlock*> doomed{Block};
    std::unordered_set<const TFlowBlock*> gone{Block};
    for (size_t i = 0; i < doomed.size(); ++i) {
        for (const TPropertyItems& item : doomed[i]->Items) {
            for (TFlowBlock* k = item.Chain; Holds(k) && k->Index != 0 && !gone.count(k);
                 k = k->Next) {
                gone.insert(k);
                doomed.push_back(k);
            }
        }
    }

    // The block that followed Block takes its place: in its predecessor's Next
    // or as the head of the branch it started.
    for (TFlowBlock* k : List) {
        if (gone.count(k)) {
            continue;
        }
        if (k->Next == Block) {
            k->Next = Block->Next;
            break;
        }
        auto head =
            std::find_if(k->Items.begin(), k->Items.end(),
                         [Block](const TPropertyItems& item) { return item.Chain == Block; });
        if (head != k->Items.end()) {
            head->Chain = Block->Next;
            break;
        }
    }

    // In a sound chart nothing else refers to the removed blocks; in a damaged
    // one such links are cut rather than left dangling.
    for (TFlowBlock* k : List) {
        if (gone.count(k)) {
            continue;
        }
        if (gone.count(k->Next)) {
            k->Next = nullptr;
        }
        if (gone.count(k->Parent)) {
            k->Parent = nullptr;
        }
        for (TPropertyItems& item : k->Items) {
            if (gone.count(item.Chain)) {
                item.Chain = nullptr;
            }
        }
    }

    for (const TFlowBlock* k : doomed) {
        if (k->Kind == bkPageBreak) {
            --PageBreakCount;
        }
    }
    std::erase_if(List, [&gone](TFlowBlock* k) { return gone.count(k) != 0; });
    Renumber();
    for (TFlowBlock* k : doomed) {
        Selection.Remove(k);
        delete k;
    }
}

void TFCList::Clear() {
    for (TFlowBlock* block : List) {
        Selection.Remove(block);
        delete block;
    }
    List.clear();
}

void TFCList::ClearMarks() {
    for (TFlowBlock* block : List) {
        block->Mark = 0;
    }
}

} // namespace tvx
