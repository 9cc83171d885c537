#pragma once
// Builds benchmark charts by appending blocks at the end of branches.
#include "chart/fc_list.h"
#include "chart/flow_block.h"
#include "chart/mouse_info.h"

#include <QString>

namespace tvx {

class TChartBuilder {
public:
    explicit TChartBuilder(TFCList& Chart) : Chart(Chart) {
        Root = Chart.AddBlock(nullptr, bkRoot, -1, QStringLiteral("Demo"), nullptr);
    }

    // Adds a block of Kind at the end of branch Branch of Owner.
    TFlowBlock* Append(TFlowBlock* Owner, int Branch, TBlockKind Kind, const QString& Text) {
        TFlowBlock* last = Owner->GetItemChain(Branch);
        if (last == nullptr) {
            TMouseInfo head(Branch);
            return Chart.AddBlock(Owner, Kind, -1, Text, &head);
        }
        while (last->Next != nullptr) {
            last = last->Next;
        }
        TMouseInfo after(-1);
        return Chart.AddBlock(last, Kind, -1, Text, &after);
    }

    TFCList& Chart;
    TFlowBlock* Root = nullptr;
};

} // namespace tvx
