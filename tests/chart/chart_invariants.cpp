#include "chart_invariants.h"
#include <set>
#include <sstream>

using namespace tvx;

namespace {

class InvariantChecker {
public:
    explicit InvariantChecker(const TFCList& Chart) : Chart(Chart) {}

    std::string Run() {
        const auto& list = Chart.GetList();
        if (list.empty()) {
            return Chart.PageBreakCount == 0 ? "" : "page-break counter of an empty chart";
        }
        int pageBreaks = 0;
        for (size_t i = 0; i < list.size(); ++i) {
            const TFlowBlock* b = list[i];
            if (b->Index != int(i)) {
                return Fail("Index", b, "differs from its position " + std::to_string(i));
            }
            if (int(b->Items.size()) != BranchCount(b->Kind)) {
                return Fail("Items", b, "do not match the kind");
            }
            if (b->Kind == bkRoot && i != 0) {
                return Fail("Kind", b, "second root");
            }
            pageBreaks += b->Kind == bkPageBreak ? 1 : 0;
        }
        const TFlowBlock* root = list[0];
        if (root->Kind != bkRoot || root->Level != 0 || root->Parent || root->Next) {
            return Fail("root", root, "is not a bare bkRoot at level 0");
        }
        seen.insert(root);
        if (std::string error = WalkBranches(root); !error.empty()) {
            return error;
        }
        if (seen.size() != list.size()) {
            return "some blocks are in no chain";
        }
        if (pageBreaks != Chart.PageBreakCount) {
            return "PageBreakCount " + std::to_string(Chart.PageBreakCount) + " but " +
                   std::to_string(pageBreaks) + " page breaks";
        }
        return "";
    }

private:
    std::string WalkBranches(const TFlowBlock* Owner) {
        for (const TPropertyItems& item : Owner->Items) {
            for (const TFlowBlock* k = item.Chain; k != nullptr; k = k->Next) {
                if (k->Index < 0 || k->Index >= Chart.Count() || Chart.GetBlock(k->Index) != k) {
                    return Fail("chain", Owner, "leads to a block outside the chart");
                }
                if (!seen.insert(k).second) {
                    return Fail("chain", k, "is reached twice");
                }
                if (k->Parent != Owner) {
                    return Fail("Parent", k, "is not the owner of its chain");
                }
                if (k->Level != Owner->Level + 1) {
                    return Fail("Level", k, "is not its parent's level + 1");
                }
                if (std::string error = WalkBranches(k); !error.empty()) {
                    return error;
                }
            }
        }
        return "";
    }

    static std::string Fail(const char* What, const TFlowBlock* B, const std::string& Why) {
        std::ostringstream out;
        out << What << " of block " << B->Index << " (\"" << B->Text.toStdString() << "\", kind "
            << int(B->Kind) << "): " << Why;
        return out.str();
    }

    const TFCList& Chart;
    std::set<const TFlowBlock*> seen;
};

} // namespace

::testing::AssertionResult ChartInvariantsHold(const TFCList& Chart) {
    std::string error = InvariantChecker(Chart).Run();
    if (error.empty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << error;
}
