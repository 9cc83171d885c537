#pragma once
// Test charts are built by appending blocks at the end of branches.
#include "chart/fc_list.h"
#include "chart/flow_block.h"
#include "chart/mouse_info.h"

#include <QString>

namespace tvx {

// Adds a block of Kind at the end of branch Branch of Owner.
inline TFlowBlock* AppendBlock(TFCList& Chart, TFlowBlock* Owner, int Branch, TBlockKind Kind,
                               const QString& Text) {
    TFlowBlock* Last = Owner->GetItemChain(Branch);
    if (Last == nullptr) {
        TMouseInfo Head(Branch);
        return Chart.AddBlock(Owner, Kind, -1, Text, &Head);
    }
    while (Last->Next != nullptr) {
        Last = Last->Next;
    }
    TMouseInfo After(-1);
    return Chart.AddBlock(Last, Kind, -1, Text, &After);
}

} // namespace tvx
