#pragma once
// Charts nested to a chosen depth, built by linking blocks by hand, so they
// may go past the nesting limit that adding a block keeps to.
#include "chart/fc_list.h"
#include "chart/flow_block.h"

#include <QString>
#include <memory>

namespace tvx {

// Every level k below Depth holds a process block followed by a decision or
// loop (if-else, while, repeat and for in turn) whose branch holds level
// k + 1; level Depth holds one process block. MaxLevel() is Depth.
inline std::unique_ptr<TFCList> NestedChart(int Depth) {
    static const TBlockKind Kinds[] = {bkIfElse, bkWhile, bkRepeat, bkFor};
    auto chart = std::make_unique<TFCList>();
    auto add = [&chart](TBlockKind Kind, TFlowBlock* Parent, int Level, const QString& Text) {
        auto block = std::make_unique<TFlowBlock>();
        block->Kind = Kind;
        block->Text = Text;
        block->Level = Level;
        block->Parent = Parent;
        block->Items.resize(size_t(BranchCount(Kind)));
        block->Index = chart->Count();
        TFlowBlock* added = block.get();
        chart->Add(std::move(block));
        return added;
    };
    TFlowBlock* owner = add(bkRoot, nullptr, 0, QStringLiteral("deep"));
    int branch = 0;
    for (int level = 1; level <= Depth; ++level) {
        TFlowBlock* step = add(bkProcess, owner, level, QStringLiteral("x%1 := %1").arg(level));
        owner->Items[size_t(branch)].Chain = step;
        if (level == Depth) {
            break;
        }
        TFlowBlock* nest = add(Kinds[level % 4], owner, level, QStringLiteral("c%1").arg(level));
        step->Next = nest;
        owner = nest;
        // The decisions nest in their yes and no branches by turns.
        branch = nest->Kind == bkIfElse ? (level / 4) % 2 : 0;
    }
    return chart;
}

} // namespace tvx
