#pragma once
// Builds benchmark charts by appending blocks at the end of branches.
#include "chart/fc_list.h"
#include "chart/flow_block.h"
#include "common/chart_append.h"

#include <QString>

namespace tvx {

class TChartBuilder {
public:
    explicit TChartBuilder(TFCList& Chart) : Chart(Chart) {
        Root = Chart.AddBlock(nullptr, bkRoot, -1, QStringLiteral("Demo"), nullptr);
    }

    // Adds a block of Kind at the end of branch Branch of Owner.
    TFlowBlock* Append(TFlowBlock* Owner, int Branch, TBlockKind Kind, const QString& Text) {
        return AppendBlock(Chart, Owner, Branch, Kind, Text);
    }

    TFCList& Chart;
    TFlowBlock* Root = nullptr;
};

} // namespace tvx
