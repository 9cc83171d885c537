#include "app/chart_collection.h"

#include "chart/fc_list.h"

namespace tvx {

TChartList::~TChartList() = default;

void TChartList::Add(std::unique_ptr<TFCList> Chart) {
    FCharts.push_back(std::move(Chart));
}

TFCList* TChartList::GetChart(int Index) const {
    return FCharts.at(std::size_t(Index)).get();
}

} // namespace tvx
