// What every node of a parse tree knows about its subtree: the run of leaves
// under it, and whether it holds a symbol its caller watches for.
#include "parser/parser_test_support.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tvx::test {
namespace {

// The leaves under Token by walking every node.
void WalkLeaves(const TToken* Token, std::vector<const TToken*>& Out) {
    if (Token->GetReduction() == nullptr) {
        Out.push_back(Token);
        return;
    }
    for (const TToken* child : Token->GetReduction()->Tokens()) {
        WalkLeaves(child, Out);
    }
}

void AllNodes(const TReduction* Node, std::vector<const TReduction*>& Out) {
    Out.push_back(Node);
    for (const TToken* child : Node->Tokens()) {
        if (child->GetReduction() != nullptr) {
            AllNodes(child->GetReduction(), Out);
        }
    }
}

class TreeSummary : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Loaded.LoadGrammar(GrammarSource("statements.grm"))); }

    const TReduction* Parse(const std::string& Text) {
        EXPECT_EQ(FinalMessage(RunParse(Loaded.Parser, Text)), msgAccept);
        return Loaded.Parser.GetCurrentReduction();
    }

    std::vector<TSymbolWatch> Watching(const std::string& Watched, const std::string& Stopped) {
        const TSymbolTable& symbols = Loaded.Parser.GetSymbolTable();
        std::vector<TSymbolWatch> watches(size_t(symbols.GetCount()), swPass);
        for (int32_t i = 0; i < symbols.GetCount(); ++i) {
            const std::string& name = symbols.GetItem(i)->Name;
            watches[size_t(i)] = name == Watched ? swWatch : name == Stopped ? swStop : swPass;
        }
        return watches;
    }

    // "1" for every statement holding the watched symbol, "0" for the others.
    std::string StatementMarks(const TReduction* Root) {
        std::vector<const TReduction*> nodes;
        AllNodes(Root, nodes);
        std::string marks;
        for (const TReduction* node : nodes) {
            if (node->ParentRule->Head->Name == "Stm") {
                marks += node->HoldsWatched() ? '1' : '0';
            }
        }
        return marks;
    }

    LoadedParser Loaded;
};

TEST_F(TreeSummary, EveryNodeHandsOutTheLeavesAWalkFinds) {
    // Comments and whitespace are read as tokens too, but are no leaves.
    const TReduction* root = Parse("x := (1 + y) * 2; { note }\r\nif a < b then // line\r\n"
                                   "print \"s\"; else while c do end end x := -z;");
    std::vector<const TReduction*> nodes;
    AllNodes(root, nodes);
    for (const TReduction* node : nodes) {
        std::vector<const TToken*> walked;
        for (const TToken* child : node->Tokens()) {
            WalkLeaves(child, walked);
        }
        std::vector<const TToken*> handed;
        ForEachLeaf(node, Loaded.Parser.GetLeaves(),
                    [&handed](const TToken* Leaf) { handed.push_back(Leaf); });
        EXPECT_EQ(handed, walked) << node->ParentRule->GetText();
    }
}

TEST_F(TreeSummary, ChangedNodeAndTrimmedTreeStillGiveTheirLeaves) {
    Loaded.Parser.SetTrimReductions(true);
    TReduction* root = const_cast<TReduction*>(Parse("a := 1 + b; print c;"));
    TToken extra(nullptr, "!");
    root->InsertToken(0, &extra);
    std::string text;
    ForEachLeaf(root, Loaded.Parser.GetLeaves(),
                [&text](const TToken* Leaf) { text += std::string(Leaf->Text) + " "; });
    EXPECT_EQ(text, "! a := 1 + b ; print c ; ");

    TReduction loose(nullptr); // a node no parse built is walked
    loose.InsertToken(0, &extra);
    int count = 0;
    ForEachLeaf(&loose, Loaded.Parser.GetLeaves(), [&count](const TToken*) { ++count; });
    EXPECT_EQ(count, 1);
}

TEST_F(TreeSummary, NodesNoteWhetherTheyHoldAWatchedSymbol) {
    const std::string text = "x := 1; print x; if a then print b; end if a then else print c; end";
    EXPECT_EQ(StatementMarks(Parse(text)), "111111") << "nothing watched: every node counts";

    Loaded.Parser.WatchSymbols(Watching("print", ""));
    const TReduction* root = Parse(text);
    EXPECT_EQ(StatementMarks(root), "011111");
    // Each node knows which of its children hold it: of "print x ;" only
    // the keyword.
    std::vector<const TReduction*> nodes;
    AllNodes(root, nodes);
    const auto print = std::find_if(nodes.begin(), nodes.end(), [](const TReduction* node) {
        return node->ParentRule->GetText() == "<Stm> ::= print <Expr> ;";
    });
    ASSERT_NE(print, nodes.end());
    EXPECT_TRUE((*print)->ChildHoldsWatched(0));
    EXPECT_FALSE((*print)->ChildHoldsWatched(1));
    EXPECT_FALSE((*print)->ChildHoldsWatched(2));

    // What lies under a stopped symbol does not count: the second if holds
    // its print only in its else part.
    Loaded.Parser.WatchSymbols(Watching("print", "Else Part"));
    EXPECT_EQ(StatementMarks(Parse(text)), "011101");

    // A new grammar forgets the watches of the old one.
    ASSERT_TRUE(Loaded.LoadGrammar(GrammarSource("statements.grm")));
    EXPECT_EQ(StatementMarks(Parse(text)), "111111");
}

} // namespace
} // namespace tvx::test
