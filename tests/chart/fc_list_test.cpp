#include "chart/fc_list.h"
#include "chart_invariants.h"
#include "platform/bitmap.h"
#include "settings/main_settings.h"
#include "support/print_qstring.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace tvx;

namespace {

class ChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        Root = Chart.AddBlock(nullptr, bkRoot, 0, QStringLiteral("main"), nullptr);
    }

    TFlowBlock* After(TFlowBlock* Target, TBlockKind Kind, const QString& Text) {
        TMouseInfo where(-1);
        return Chart.AddBlock(Target, Kind, -1, Text, &where);
    }
    TFlowBlock* Into(TFlowBlock* Target, int Branch, TBlockKind Kind, const QString& Text) {
        TMouseInfo where(Branch);
        return Chart.AddBlock(Target, Kind, -1, Text, &where);
    }
    TFlowBlock* First(TBlockKind Kind, const QString& Text) { return Into(Root, 0, Kind, Text); }

    static QStringList Chain(const TFlowBlock* Head) {
        QStringList texts;
        for (; Head != nullptr; Head = Head->Next) {
            texts << Head->Text;
        }
        return texts;
    }
    QStringList Texts() const {
        QStringList texts;
        for (const TFlowBlock* b : Chart.GetList()) {
            texts << b->Text;
        }
        return texts;
    }

    TFCList Chart;
    TFlowBlock* Root = nullptr;
};

} // namespace

TEST(ChartModel, EmptyDocumentAndMouseInfo) {
    TFCList chart;
    EXPECT_EQ(chart.Count(), 0);
    EXPECT_EQ(chart.MaxLevel(), 0);
    EXPECT_THROW(chart.First(), EArrayError);
    EXPECT_THROW(chart.GetBlock(0), EArrayError);
    EXPECT_CHART_VALID(chart);

    TMouseInfo info(-1);
    EXPECT_EQ(info.BlockIndex, 0);
    EXPECT_EQ(info.Branch, -1);
    EXPECT_EQ(info.HitKind, hkBranch);
}

TEST_F(ChartTest, NewBlocksGetTheBranchesOfTheirKind) {
    EXPECT_EQ(Chart.MaxLevel(), 0);
    EXPECT_EQ(Root->Index, 0);
    EXPECT_EQ(Root->ItemCount(), 1);
    for (int kind = 0; kind < BlockKindCount; ++kind) {
        if (kind == bkRoot) {
            continue;
        }
        TFlowBlock* b = First(TBlockKind(kind), QStringLiteral("k%1").arg(kind));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->GetItemCount(), BranchCount(TBlockKind(kind))) << kind;
        EXPECT_EQ(b->GetWidth(), 50);
        EXPECT_EQ(b->GetHeight(), 25);
        EXPECT_EQ(b->Bitmap->PixelFormat(), pf16bit);
        for (const TPropertyItems& item : b->Items) {
            EXPECT_EQ(item.Chain, nullptr);
        }
    }
    EXPECT_EQ(BranchCount(bkIfYesLeft), 2);
    EXPECT_EQ(BranchCount(bkWhile), 1);
    EXPECT_EQ(BranchCount(bkProcess), 0);
    TFlowBlock* selection = First(bkCase, QStringLiteral("x"));
    EXPECT_EQ(selection->Items[0].CondName, QStringLiteral("cond0"));
    EXPECT_EQ(selection->Items[2].CondName, QStringLiteral("cond2"));
    EXPECT_EQ(Chart.MaxLevel(), 1);
    EXPECT_CHART_VALID(Chart);
}

TEST_F(ChartTest, PixelFormatComesFromTheSettings) {
    QTemporaryDir dir;
    TMainSettings settings(dir.path() + QLatin1Char('/'));
    settings.PixelFormat = pf32bit;
    MainSettings = &settings;
    TFlowBlock* b = First(bkProcess, QStringLiteral("a"));
    MainSettings = nullptr;
    EXPECT_EQ(b->Bitmap->PixelFormat(), pf32bit);
}

TEST_F(ChartTest, AddingLinksIntoChainsAndBranches) {
    // With the root as target the block always heads the root chain.
    TFlowBlock* c = After(Root, bkProcess, QStringLiteral("c"));
    TFlowBlock* a = Chart.AddBlock(Root, bkProcess, 5, QStringLiteral("a"), nullptr);
    EXPECT_EQ(Chain(Root->GetItemChain(0)), QStringList({"a", "c"}));
    After(c, bkOutput, QStringLiteral("d")); // after the last: Next nil
    After(a, bkInput, QStringLiteral("b"));  // after a middle block: spliced
    EXPECT_EQ(Chain(Root->GetItemChain(0)), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(c->Next->Next, nullptr);

    TFlowBlock* cond = After(c, bkIfElse, QStringLiteral("if"));
    Into(cond, 1, bkProcess, QStringLiteral("B"));
    Into(cond, 1, bkProcess, QStringLiteral("A"));
    TFlowBlock* fresh = Into(cond, 1, bkCall, QStringLiteral("new"));
    EXPECT_EQ(Chain(cond->GetItemChain(1)), QStringList({"new", "A", "B"}));
    for (const TFlowBlock* k = fresh; k; k = k->Next) {
        EXPECT_EQ(k->Level, 2);
        EXPECT_EQ(k->Parent, cond);
    }
    EXPECT_EQ(Chart.MaxLevel(), 2);
    EXPECT_EQ(Chart.GetBlock(fresh->Index), fresh);
    EXPECT_CHART_VALID(Chart);
}

TEST_F(ChartTest, PageBreaksAreNumberedAndLimitedToLevelOne) {
    TFlowBlock* loop = First(bkWhile, QStringLiteral("w"));
    TFlowBlock* body = Into(loop, 0, bkProcess, QStringLiteral("x"));
    TFlowBlock* p1 = After(loop, bkPageBreak, QStringLiteral("ignored"));
    TFlowBlock* p2 = Into(loop, 0, bkPageBreak, QString()); // level 2 at a branch head
    EXPECT_EQ(p1->Level, 1);
    EXPECT_EQ(p2->Level, 2);
    int count = Chart.Count();
    EXPECT_EQ(After(body, bkPageBreak, QString()), nullptr);
    EXPECT_EQ(Into(p2, 0, bkPageBreak, QString()), nullptr);
    EXPECT_EQ(Chart.Count(), count);
    EXPECT_EQ(Chart.PageBreakCount, 2);
    TFlowBlock* p3 = Chart.AddBlock(Root, bkPageBreak, 0, QString(), nullptr);
    EXPECT_EQ(p1->Text, QStringLiteral("1"));
    EXPECT_EQ(p3->Text, QStringLiteral("3"));
    EXPECT_CHART_VALID(Chart);
}

TEST_F(ChartTest, BadTargetsAreRefusedWithoutChange) {
    TFlowBlock* cond = First(bkIfElse, QStringLiteral("if"));
    TFCList other;
    TFlowBlock* otherRoot = other.AddBlock(nullptr, bkRoot, 0, QString(), nullptr);
    TFlowBlock* stranger = other.AddBlock(otherRoot, bkProcess, 1, QString(), nullptr);
    TMouseInfo branch2(2);
    TMouseInfo after(-1);

    EXPECT_THROW(Chart.AddBlock(nullptr, bkProcess, 0, QString(), &after), EChartError);
    EXPECT_THROW(Chart.AddBlock(stranger, bkProcess, 0, QString(), &after), EChartError);
    EXPECT_THROW(Chart.AddBlock(cond, bkProcess, 0, QString(), &branch2), EChartError);
    EXPECT_THROW(Chart.AddBlock(cond, bkProcess, 0, QString(), nullptr), EChartError);
    try {
        Chart.AddBlock(nullptr, bkRoot, 0, QString(), nullptr);
        FAIL();
    } catch (const EChartError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("invalid index!"));
    }
    EXPECT_EQ(Chart.Count(), 2);
    EXPECT_EQ(cond->GetItemChain(0), nullptr);
    EXPECT_EQ(cond->Next, nullptr);
    EXPECT_CHART_VALID(Chart);
    EXPECT_CHART_VALID(other);
}

TEST_F(ChartTest, BranchAccessorsStayInsideTheRecords) {
    TFlowBlock* cond = First(bkIfElse, QStringLiteral("if"));
    cond->SetItemOffset(1, 17);
    cond->SetItemRect(1, Rect(1, 2, 3, 4));
    cond->Items[1].Text = QStringLiteral("no");
    EXPECT_EQ(cond->GetItemOffset(1), 17);
    EXPECT_EQ(cond->GetItemRect(1), Rect(1, 2, 3, 4));
    EXPECT_EQ(cond->GetItemText(1), QStringLiteral("no"));

    // A block whose records fall short of its kind, as a damaged file gives.
    cond->Items.resize(1);
    cond->SetItemChain(1, Root);
    cond->SetItemOffset(5, 3);
    EXPECT_EQ(cond->GetItemChain(1), nullptr);
    EXPECT_EQ(cond->GetItemOffset(-1), 0);
    EXPECT_EQ(cond->GetItemRect(2), TRect());
    EXPECT_EQ(cond->GetItemText(3), QString());
}

TEST_F(ChartTest, DeletingANestedBlockRemovesItsWholeSubtree) {
    TFlowBlock* before = First(bkProcess, QStringLiteral("before"));
    TFlowBlock* cond = After(before, bkIfElse, QStringLiteral("if"));
    After(cond, bkProcess, QStringLiteral("after"));
    TFlowBlock* loop = Into(cond, 0, bkWhile, QStringLiteral("while"));
    Into(loop, 0, bkProcess, QStringLiteral("w2"));
    Into(loop, 0, bkProcess, QStringLiteral("w1"));
    Into(cond, 1, bkCall, QStringLiteral("no"));
    Chart.Selection.Add(loop);
    Chart.Selection.Add(before);
    ASSERT_EQ(Chart.Count(), 8);

    Chart.DeleteBlock(cond);
    EXPECT_EQ(Texts(), QStringList({"main", "before", "after"}));
    EXPECT_EQ(Chain(Root->GetItemChain(0)), QStringList({"before", "after"}));
    EXPECT_EQ(Chart.Selection.Count(), 1); // the deleted loop left the selection
    EXPECT_TRUE(Chart.Selection.Contains(before));
    EXPECT_CHART_VALID(Chart);
}

TEST_F(ChartTest, DeletingHeadsAndOnlyBlocks) {
    TFlowBlock* loop = First(bkFor, QStringLiteral("for"));
    TFlowBlock* x = Into(loop, 0, bkProcess, QStringLiteral("y"));
    Into(loop, 0, bkProcess, QStringLiteral("x"));
    Chart.DeleteBlock(loop->GetItemChain(0)); // the head: its successor heads the branch
    EXPECT_EQ(loop->GetItemChain(0), x);
    Chart.DeleteBlock(x); // the only block: the branch is empty
    EXPECT_EQ(loop->GetItemChain(0), nullptr);
    Chart.DeleteBlock(loop);
    EXPECT_EQ(Root->GetItemChain(0), nullptr);
    EXPECT_EQ(Chart.Count(), 1);
    EXPECT_CHART_VALID(Chart);
}

TEST_F(ChartTest, DeletingCountsPageBreaksDownWithoutRenumbering) {
    TFlowBlock* loop = First(bkRepeat, QStringLiteral("repeat"));
    TFlowBlock* p1 = After(loop, bkPageBreak, QString());
    Into(loop, 0, bkPageBreak, QString());                     // 2, nested
    TFlowBlock* inner = Into(loop, 0, bkIfElse, QString("c")); // ahead of 2
    Into(inner, 0, bkProcess, QStringLiteral("deep"));
    TFlowBlock* p3 = After(p1, bkPageBreak, QString());
    ASSERT_EQ(Chart.PageBreakCount, 3);

    Chart.DeleteBlock(loop);
    EXPECT_EQ(Chart.PageBreakCount, 2);
    EXPECT_CHART_VALID(Chart);
    Chart.DeleteBlock(p1);
    EXPECT_EQ(Chart.PageBreakCount, 1);
    EXPECT_EQ(p3->Text, QStringLiteral("3"));
    TFlowBlock* again = After(p3, bkPageBreak, QString());
    EXPECT_EQ(again->Text, QStringLiteral("2"));
    EXPECT_CHART_VALID(Chart);
}

TEST_F(ChartTest, TheRootAndForeignBlocksCannotBeDeleted) {
    First(bkProcess, QStringLiteral("a"));
    try {
        Chart.DeleteBlock(Root);
        FAIL();
    } catch (const EChartError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("invalid index!"));
    }
    EXPECT_THROW(Chart.DeleteBlock(nullptr), EChartError);
    EXPECT_EQ(Chart.Count(), 2);
    EXPECT_CHART_VALID(Chart);
}

TEST_F(ChartTest, ClearKeepsTheCounterAndForgetsTheSelection) {
    TFlowBlock* a = First(bkProcess, QStringLiteral("a"));
    After(a, bkPageBreak, QString());
    a->Mark = 1;
    Chart.ClearMarks();
    EXPECT_EQ(a->Mark, 0);
    Chart.Selection.Add(a);
    Chart.Clear();
    EXPECT_EQ(Chart.Count(), 0);
    EXPECT_EQ(Chart.PageBreakCount, 1);
    EXPECT_EQ(Chart.Selection.Count(), 0);
}

// A damaged chart (looping chain, branch records short of the kind) is
// deleted from without reading past its records or freeing a block twice.
TEST_F(ChartTest, DamagedChartsDeleteSafely) {
    TFlowBlock* loop = First(bkWhile, QStringLiteral("w"));
    TFlowBlock* b = Into(loop, 0, bkProcess, QStringLiteral("b"));
    TFlowBlock* a = Into(loop, 0, bkProcess, QStringLiteral("a"));
    b->Next = a; // the body loops
    TFlowBlock* cond = After(loop, bkIfElse, QStringLiteral("if"));
    cond->Items.clear();
    Chart.DeleteBlock(loop);
    EXPECT_EQ(Texts(), QStringList({"main", "if"}));
    Chart.DeleteBlock(cond);
    EXPECT_EQ(Chart.Count(), 1);
    EXPECT_EQ(Root->GetItemChain(0), nullptr);
}

// Random edits, the invariants checked after each one.
TEST_F(ChartTest, RandomEditsKeepEveryInvariant) {
    std::mt19937 random(20240601);
    for (int step = 0; step < 2000; ++step) {
        auto pick = [&](int n) { return int(random() % unsigned(n)); };
        TFlowBlock* target = Chart.GetBlock(pick(Chart.Count()));
        if (Chart.Count() > 1 && pick(3) == 0) {
            while (target == Root) {
                target = Chart.GetBlock(pick(Chart.Count()));
            }
            Chart.DeleteBlock(target);
        } else {
            auto kind = TBlockKind(pick(BlockKindCount));
            if (kind == bkRoot) {
                kind = bkPageBreak;
            }
            int branch = target->ItemCount() > 0 && pick(2) ? pick(target->ItemCount()) : -1;
            TMouseInfo where(target == Root ? 0 : branch);
            TFlowBlock* added = Chart.AddBlock(target, kind, -1, QString::number(step), &where);
            bool refused = kind == bkPageBreak && target->Level > 1;
            ASSERT_EQ(added == nullptr, refused);
        }
        ASSERT_CHART_VALID(Chart) << "after step " << step;
    }
}
