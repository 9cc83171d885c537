#pragma once
// The charts a chart window shows on its tabs (one per program, unit,
// procedure and function of an import), owned by the collection.
#include <QString>
#include <memory>
#include <vector>

namespace tvx {

class TFCList;

class TChartCollection {
public:
    virtual ~TChartCollection() = default;
    virtual int ChartCount() const = 0;
    // Chart Index (0 <= Index < ChartCount()), owned by the collection.
    virtual TFCList* GetChart(int Index) const = 0;
    // The source text the charts were made from, as it was read; empty when
    // none.
    virtual QString SourceText() const = 0;
};

// A collection over charts handed to it.
class TChartList : public TChartCollection {
public:
    TChartList() = default;
    explicit TChartList(QString SourceText) : FSourceText(std::move(SourceText)) {}
    ~TChartList() override;
    void Add(std::unique_ptr<TFCList> Chart);

    int ChartCount() const override { return int(FCharts.size()); }
    TFCList* GetChart(int Index) const override;
    QString SourceText() const override { return FSourceText; }

private:
    std::vector<std::unique_ptr<TFCList>> FCharts;
    QString FSourceText;
};

} // namespace tvx
