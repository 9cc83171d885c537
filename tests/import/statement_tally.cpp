#include "import/statement_tally.h"
#include "parser/gold_parser.h"
#include "parser/grammar_cache.h"
#include <algorithm>
#include <string>

namespace tvx::test {

namespace {

using TNames = std::vector<std::string>;

// What the statements of one grammar look like in its parse tree. A node
// counts by its own name, or by the keyword terminal it begins with.
struct TStatementRules {
    TNames WithBlock;
    TNames KeywordsWithBlock;
    TNames WithoutBlock;
    TNames KeywordsWithoutBlock;
    // Never looked into: expressions, and declarations that hold none.
    TNames Opaque;
    // Loops whose body is a lone ';' hold one empty block (C): the keyword
    // and the position of the body among the loop's children.
    std::vector<std::pair<std::string, int>> LoopBodies;
    // Declarations whose type may be a macro standing as a statement of its
    // own when it ends its line (C: "LIBXML_TEST_VERSION" above "doc = f();"
    // reads as a declaration of doc).
    TNames MacroStatements;
};

const TStatementRules& PascalRules() {
    static const TStatementRules rules{
        {"IfStatement", "WhileStatement", "RepeatStatement", "ForStatement", "AssignmentStmt",
         "CallStmt"},
        {},
        {"CompoundStmt", "ForInStatement", "WithStatement", "LabeledStatement", "CaseStatement",
         "TryStatement", "GotoStatement", "RaiseStatement", "AsmStatement", "InlineVarDecl"},
        {},
        {"Expr", "Factor"},
        {},
        {},
    };
    return rules;
}

const TStatementRules& CRules() {
    static const TStatementRules rules{
        {"Op Assign"},
        {"if", "while", "do", "for"},
        {"Local Decl", "Static Assert"},
        {"switch", "case", "default", "goto", "break", "continue"},
        {"Expr", "Const Expr", "For Init", "Local Decl", "Global Decl"},
        {{"while", 4}, {"do", 1}, {"for", 8}},
        {"Local Decl"},
    };
    return rules;
}

bool Holds(const TNames& Names, const std::string& Name) {
    return std::find(Names.begin(), Names.end(), Name) != Names.end();
}

std::string FirstTerminal(const TReduction* Node) {
    const TToken* first = Node->GetToken(0);
    return first != nullptr && first->GetReduction() == nullptr ? first->GetName() : std::string();
}

// A statement made of a lone ';', under however many single-child nodes.
bool IsEmptyStatement(const TToken* Token) {
    for (const TReduction* node = Token != nullptr ? Token->GetReduction() : nullptr;
         node != nullptr; node = node->GetToken(0)->GetReduction()) {
        if (node->GetTokenCount() != 1) {
            return false;
        }
        if (node->GetToken(0)->GetReduction() == nullptr) {
            return node->GetToken(0)->GetName() == ";";
        }
    }
    return false;
}

// The first two terminals under Node, in source order; null when missing.
std::pair<const TToken*, const TToken*> FirstTwoTerminals(const TReduction* Node) {
    std::pair<const TToken*, const TToken*> found{nullptr, nullptr};
    std::vector<const TToken*> pending(Node->Tokens().rbegin(), Node->Tokens().rend());
    while (!pending.empty() && found.second == nullptr) {
        const TToken* token = pending.back();
        pending.pop_back();
        if (const TReduction* node = token->GetReduction()) {
            pending.insert(pending.end(), node->Tokens().rbegin(), node->Tokens().rend());
        } else if (found.first == nullptr) {
            found.first = token;
        } else {
            found.second = token;
        }
    }
    return found;
}

// A name alone on its line heading the node: a macro used as a statement
// without its ';', whose statement the node swallowed.
bool StartsWithNameAloneOnItsLine(const TReduction* Node) {
    const auto [first, second] = FirstTwoTerminals(Node);
    if (first == nullptr || second == nullptr || first->GetName() != "Id") {
        return false;
    }
    // Both texts are views of the one source text the parser holds.
    const char* end = first->Text.data() + first->Text.size();
    const std::string_view between(end, std::size_t(second->Text.data() - end));
    return between.find_first_of("\r\n") != std::string_view::npos;
}

void Count(const TReduction* Root, const TStatementRules& Rules, TStatementTally& Tally) {
    std::vector<const TReduction*> pending{Root};
    while (!pending.empty()) {
        const TReduction* node = pending.back();
        pending.pop_back();
        const std::string& name = node->Head.GetName();
        const std::string keyword = FirstTerminal(node);
        if (Holds(Rules.WithBlock, name) || Holds(Rules.KeywordsWithBlock, keyword)) {
            ++Tally.WithBlock;
        } else if (Holds(Rules.WithoutBlock, name) || Holds(Rules.KeywordsWithoutBlock, keyword)) {
            ++Tally.WithoutBlock;
        }
        if (Holds(Rules.MacroStatements, name) && StartsWithNameAloneOnItsLine(node)) {
            ++Tally.WithBlock;
        }
        for (const auto& [loop, body] : Rules.LoopBodies) {
            if (keyword == loop && IsEmptyStatement(node->GetToken(body))) {
                ++Tally.WithBlock;
            }
        }
        if (Holds(Rules.Opaque, name)) {
            continue;
        }
        for (const TToken* child : node->Tokens()) {
            if (child != nullptr && child->GetReduction() != nullptr) {
                pending.push_back(child->GetReduction());
            }
        }
    }
}

} // namespace

QString TStatementTally::Fault() const {
    if (!Parsed) {
        return QStringLiteral("the source was not accepted");
    }
    if (WithBlock == Blocks) {
        return QString();
    }
    return QStringLiteral("%1 statements make blocks, the charts hold %2 blocks (%3 statements "
                          "make none)")
        .arg(WithBlock)
        .arg(Blocks)
        .arg(WithoutBlock);
}

int CountBlocks(const TFCList& Chart) {
    return std::max(Chart.Count() - 1, 0);
}

int CountBlocks(const std::vector<std::unique_ptr<TFCList>>& Charts) {
    int blocks = 0;
    for (const auto& chart : Charts) {
        blocks += CountBlocks(*chart);
    }
    return blocks;
}

TStatementTally TallyStatements(const TTVXParseChartes& Import, int Blocks) {
    TStatementTally tally;
    tally.Blocks = Blocks;
    TGOLDParser parser;
    if (!parser.UseGrammar(TGrammarCache::Shared().Get(Import.GrammarFile))) {
        return tally;
    }
    TErrorReport refusal;
    if (!Import.OpenParser(parser, refusal)) {
        return tally;
    }
    for (;;) {
        const TParseMessage message = parser.Parse();
        if (message == msgAccept) {
            break;
        }
        if (message != msgTokenRead && message != msgReduction) {
            return tally;
        }
    }
    tally.Parsed = true;
    if (const TReduction* root = parser.GetCurrentReduction()) {
        Count(root, Import.GetSourceLanguage() == slCpp ? CRules() : PascalRules(), tally);
    }
    return tally;
}

} // namespace tvx::test
