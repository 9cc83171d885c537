#include "chart/chart_records.h"
#include "chart/block_kind.h"
#include "chart/nesting_limit.h"
#include <algorithm>

namespace tvx {
namespace {

bool IsPosition(int Value, int Count) {
    return Value >= -1 && Value < Count;
}

bool RecordIsSound(const TBlockRecord& R, int Count) {
    if (R.Kind < 0 || R.Kind > 255 || R.ItemsCount != BranchCount(TBlockKind(R.Kind))) {
        return false;
    }
    if (!IsPosition(R.Next, Count) || !IsPosition(R.Parent, Count)) {
        return false;
    }
    for (int j = 0; j < R.ItemsCount; ++j) {
        if (!IsPosition(R.Heads[size_t(j)], Count)) {
            return false;
        }
    }
    bool isRoot = R.Index == 0;
    if (isRoot) {
        return R.Kind == bkRoot && R.Level == 0 && R.Parent == -1 && R.Next == -1;
    }
    return R.Kind != bkRoot && R.Parent != -1;
}

// Record positions by list position; empty when a position is outside the
// list or taken twice.
std::vector<int> PositionTable(const std::vector<TBlockRecord>& Records) {
    const int count = int(Records.size());
    std::vector<int> byPosition(size_t(count), -1);
    for (int r = 0; r < count; ++r) {
        int index = Records[size_t(r)].Index;
        if (index < 0 || index >= count || byPosition[size_t(index)] != -1) {
            return {};
        }
        byPosition[size_t(index)] = r;
    }
    return byPosition;
}

// Walks the flow tree from the root, chain by chain. Every block must be met
// exactly once, with the parent and level its chain gives it; a block met
// twice (a cycle, or a block in two chains) or never met fails.
bool TreeIsSound(const std::vector<const TBlockRecord*>& At) {
    const size_t count = At.size();
    std::vector<bool> seen(count, false);
    seen[0] = true;
    std::vector<int> owners{0};
    size_t visited = 1;
    while (!owners.empty()) {
        const int owner = owners.back();
        owners.pop_back();
        const TBlockRecord& o = *At[size_t(owner)];
        for (int j = 0; j < o.ItemsCount; ++j) {
            for (int b = o.Heads[size_t(j)]; b != -1; b = At[size_t(b)]->Next) {
                const TBlockRecord& r = *At[size_t(b)];
                if (seen[size_t(b)] || r.Parent != owner || r.Level != o.Level + 1) {
                    return false;
                }
                seen[size_t(b)] = true;
                ++visited;
                if (r.ItemsCount > 0) {
                    owners.push_back(b);
                }
            }
        }
    }
    return visited == count;
}

} // namespace

std::optional<TChartBlocks> BuildChartBlocks(const std::vector<TBlockRecord>& Records,
                                             std::int64_t Count, TChartReadFault* Fault) {
    if (Fault != nullptr) {
        *Fault = TChartReadFault::NotAChart;
    }
    if (Records.empty() || Count != std::int64_t(Records.size())) {
        return std::nullopt;
    }
    const std::vector<int> byPosition = PositionTable(Records);
    if (byPosition.empty()) {
        return std::nullopt;
    }
    const int count = int(Records.size());
    std::vector<const TBlockRecord*> at(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        at[size_t(i)] = &Records[size_t(byPosition[size_t(i)])];
        if (!RecordIsSound(*at[size_t(i)], count)) {
            return std::nullopt;
        }
    }
    if (!TreeIsSound(at)) {
        return std::nullopt;
    }
    // The levels are sound now, so the deepest one is the chart's depth.
    if (std::any_of(at.begin(), at.end(),
                    [](const TBlockRecord* r) { return !WithinNestingLimit(r->Level); })) {
        if (Fault != nullptr) {
            *Fault = TChartReadFault::TooDeep;
        }
        return std::nullopt;
    }

    TChartBlocks chart;
    chart.Blocks.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        chart.Blocks.push_back(std::make_unique<TFlowBlock>());
    }
    auto blockAt = [&chart](int Position) {
        return Position < 0 ? nullptr : chart.Blocks[size_t(Position)].get();
    };
    for (int i = 0; i < count; ++i) {
        const TBlockRecord& r = *at[size_t(i)];
        TFlowBlock& b = *chart.Blocks[size_t(i)];
        b.Text = r.Text;
        b.Comment = r.Comment;
        b.Index = i;
        b.Next = blockAt(r.Next);
        b.Parent = blockAt(r.Parent);
        b.Level = r.Level;
        b.Kind = TBlockKind(r.Kind);
        b.Items.resize(size_t(r.ItemsCount));
        for (int j = 0; j < r.ItemsCount; ++j) {
            b.Items[size_t(j)].Chain = blockAt(r.Heads[size_t(j)]);
        }
        if (b.Kind == bkPageBreak) {
            ++chart.PageBreakCount;
        }
    }
    return chart;
}

} // namespace tvx
