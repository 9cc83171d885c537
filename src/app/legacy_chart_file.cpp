#include "app/legacy_chart_file.h"

#include "chart/fc_list.h"
#include "chart/nesting_limit.h"
#include "platform/atomic_file.h"
#include "platform/cp1251.h"
#include "settings/read_refusal.h"

#include <QtEndian>
#include <algorithm>
#include <vector>

namespace tvx {
namespace {

constexpr int OffKind = 0;
constexpr int OffTextLength = 1;
constexpr int OffText = 2;
constexpr int OffLevel = 68;
constexpr int OffHeads = 72;
constexpr int HeadSlots = 4;
constexpr int OffNext = 88;
constexpr int OffBranchCount = 92;
constexpr int OffParent = 96;
constexpr int OffIndex = 100;

// One record as read, before any block exists.
struct TRecord {
    TBlockKind Kind = bkProcess;
    QString Text;
    int Level = 0;
    int Heads[HeadSlots] = {-1, -1, -1, -1};
    int Next = -1;
    int BranchCount = 0;
    int Parent = -1;
};

void PutInt(char* record, int offset, int value) {
    qToLittleEndian<qint32>(value, record + offset);
}

int GetInt(const char* record, int offset) {
    return qFromLittleEndian<qint32>(record + offset);
}

int Reference(const TFlowBlock* Block, const TFCList& Chart) {
    if (Block == nullptr) {
        return -1;
    }
    const auto& list = Chart.GetList();
    auto at = std::find(list.begin(), list.end(), Block);
    return at == list.end() ? -1 : int(at - list.begin());
}

void EncodeBlock(const TFlowBlock& B, const TFCList& Chart, char* record) {
    std::fill(record, record + LegacyRecordSize, '\0');
    record[OffKind] = char(B.Kind);
    QByteArray text = EncodeCp1251(B.Text.left(LegacyTextMax)).left(LegacyTextMax);
    record[OffTextLength] = char(text.size());
    std::copy(text.begin(), text.end(), record + OffText);
    PutInt(record, OffLevel, B.Level);
    for (int j = 0; j < HeadSlots; ++j) {
        PutInt(record, OffHeads + 4 * j,
               j < B.ItemCount() ? Reference(B.GetItemChain(j), Chart) : -1);
    }
    PutInt(record, OffNext, Reference(B.Next, Chart));
    record[OffBranchCount] = char(std::min(B.ItemCount(), 255));
    PutInt(record, OffParent, Reference(B.Parent, Chart));
    PutInt(record, OffIndex, B.Index);
}

QString DecodeRecord(const char* record, TRecord& r) {
    auto kind = std::uint8_t(record[OffKind]);
    r.Kind = kind == bkLegacyOutput ? bkOutput : TBlockKind(kind);
    int length = std::uint8_t(record[OffTextLength]);
    if (length > LegacyTextMax) {
        return QStringLiteral("a block text is longer than %1 characters").arg(LegacyTextMax);
    }
    r.Text = DecodeCp1251(QByteArray(record + OffText, length));
    r.Level = GetInt(record, OffLevel);
    for (int j = 0; j < HeadSlots; ++j) {
        r.Heads[j] = GetInt(record, OffHeads + 4 * j);
    }
    r.Next = GetInt(record, OffNext);
    r.BranchCount = std::uint8_t(record[OffBranchCount]);
    r.Parent = GetInt(record, OffParent);
    if (r.BranchCount != BranchCount(r.Kind) || r.BranchCount > HeadSlots) {
        return QStringLiteral("a block has a number of branches its kind does not have");
    }
    return QString();
}

// Checks that the records describe one tree of chains hanging from the root.
class TTreeCheck {
public:
    explicit TTreeCheck(const std::vector<TRecord>& Records) : R(Records), Seen(Records.size()) {}

    QString Run() {
        const int n = int(R.size());
        const TRecord& root = R[0];
        if (root.Kind != bkRoot || root.Parent != -1 || root.Next != -1 || root.Level != 0) {
            return QStringLiteral("the first block is not the start of a chart");
        }
        for (int i = 0; i < n; ++i) {
            if (i > 0 && R[i].Kind == bkRoot) {
                return QStringLiteral("the chart has more than one start");
            }
            if (!Valid(R[i].Next) || !Valid(R[i].Parent)) {
                return QStringLiteral("a block refers to a block that is not in the file");
            }
            for (int j = 0; j < R[i].BranchCount; ++j) {
                if (!Valid(R[i].Heads[j])) {
                    return QStringLiteral("a block refers to a block that is not in the file");
                }
            }
        }
        Seen[0] = true;
        int reached = 1;
        // Every owner is visited once, so the walk ends even on a damaged file.
        std::vector<int> owners{0};
        while (!owners.empty()) {
            int owner = owners.back();
            owners.pop_back();
            for (int j = 0; j < R[owner].BranchCount; ++j) {
                for (int k = R[owner].Heads[j]; k != -1; k = R[k].Next) {
                    if (k == 0 || Seen[k]) {
                        return QStringLiteral("a block is in more than one chain");
                    }
                    if (R[k].Parent != owner || R[k].Level != R[owner].Level + 1) {
                        return QStringLiteral("a block's parent or level does not fit its chain");
                    }
                    Seen[k] = true;
                    ++reached;
                    owners.push_back(k);
                }
            }
        }
        if (reached != n) {
            return QStringLiteral("some blocks are in no chain");
        }
        return QString();
    }

private:
    bool Valid(int ref) const { return ref >= -1 && ref < int(R.size()); }

    const std::vector<TRecord>& R;
    std::vector<bool> Seen;
};

void BuildChart(const std::vector<TRecord>& records, TFCList& Chart) {
    std::vector<TFlowBlock*> blocks;
    Chart.Clear();
    Chart.Selection.Clear();
    Chart.PageBreakCount = 0;
    for (const TRecord& r : records) {
        auto block = std::make_unique<TFlowBlock>();
        block->Kind = r.Kind;
        block->Text = r.Text;
        block->Level = r.Level;
        block->Items.resize(std::size_t(r.BranchCount));
        TFlowBlock* added = block.get();
        blocks.push_back(added);
        added->Index = Chart.Add(std::move(block));
        Chart.PageBreakCount += r.Kind == bkPageBreak ? 1 : 0;
    }
    auto at = [&](int ref) { return ref < 0 ? nullptr : blocks[std::size_t(ref)]; };
    for (std::size_t i = 0; i < records.size(); ++i) {
        const TRecord& r = records[i];
        blocks[i]->Next = at(r.Next);
        blocks[i]->Parent = at(r.Parent);
        for (int j = 0; j < r.BranchCount; ++j) {
            blocks[i]->SetItemChain(j, at(r.Heads[j]));
        }
    }
}

} // namespace

QByteArray EncodeLegacyChart(const TFCList& Chart) {
    QByteArray bytes(qsizetype(Chart.Count()) * LegacyRecordSize, '\0');
    for (int i = 0; i < Chart.Count(); ++i) {
        EncodeBlock(*Chart.GetBlock(i), Chart, bytes.data() + qsizetype(i) * LegacyRecordSize);
    }
    return bytes;
}

QString WriteLegacyChart(const TFCList& Chart, const QString& FileName) {
    return WriteFileAtomically(FileName, EncodeLegacyChart(Chart));
}

QString DecodeLegacyChart(const QByteArray& Bytes, TFCList& Chart) {
    if (Bytes.isEmpty() || Bytes.size() % LegacyRecordSize != 0) {
        return QStringLiteral("the file is not a whole number of block records");
    }
    std::vector<TRecord> records(std::size_t(Bytes.size() / LegacyRecordSize));
    for (std::size_t i = 0; i < records.size(); ++i) {
        QString error = DecodeRecord(Bytes.constData() + i * LegacyRecordSize, records[i]);
        if (!error.isEmpty()) {
            return error;
        }
    }
    if (QString error = TTreeCheck(records).Run(); !error.isEmpty()) {
        return error;
    }
    // The levels follow the chains now, so the deepest one is the chart's depth.
    if (std::any_of(records.begin(), records.end(),
                    [](const TRecord& r) { return !WithinNestingLimit(r.Level); })) {
        return NestingLimitMessage();
    }
    BuildChart(records, Chart);
    return QString();
}

QString ReadLegacyChart(const QString& FileName, TFCList& Chart) {
    const TFileRead read = ReadRegularFile(FileName, MaxLegacyBytes);
    if (!read.Ok()) {
        return ReadRefusalReason(read, MaxLegacyBytes);
    }
    return DecodeLegacyChart(read.Bytes, Chart);
}

} // namespace tvx
