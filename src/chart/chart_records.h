#pragma once
// The blocks of a chart file as numbers and texts, before they become linked
// blocks: every reference is a list position, -1 for none. The checks here
// decide whether the records form a chart the model can hold.
#include "chart/chart_xml.h"
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tvx {

struct TBlockRecord {
    static constexpr int MaxBranches = 3; // bkCase has the most

    QString Text;
    QString Comment;
    int Index = 0;
    int Next = -1;
    int Parent = -1;
    int Level = 0;
    int Kind = 0;
    int ItemsCount = 0;
    std::array<int, MaxBranches> Heads{-1, -1, -1};
};

// Links the records into blocks when they form a sound chart: Count equals
// the number of records; positions are 0 to Count - 1, each once; position 0
// is the one root (kind 7, level 0, no parent, no next, one branch); every
// other block lies in exactly one chain reached from the root, with the
// chain's owner as Parent and the owner's level + 1 as Level; each block has
// the branch count of its kind; and no block is deeper than the nesting
// limit. Otherwise nullopt, and Fault (when given) says why.
std::optional<TChartBlocks> BuildChartBlocks(const std::vector<TBlockRecord>& Records,
                                             std::int64_t Count, TChartReadFault* Fault = nullptr);

} // namespace tvx
