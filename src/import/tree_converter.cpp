#include "import/tree_converter.h"
#include "chart/fc_list.h"
#include "chart/mouse_info.h"
#include "parser/grammar_tables.h"
#include "parser/parse_tree.h"

namespace tvx {

namespace {

bool IsWordByte(unsigned char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') || C == '_' ||
           C >= 0x80;
}

// Tokens are joined without blanks, except where two of them would run into
// one: "a div b" must not become "adivb", nor "not done" "notdone".
bool NeedsBlank(unsigned char Last, unsigned char First) {
    if (IsWordByte(Last)) {
        return IsWordByte(First) || First == '$' || First == '#' || First == '&' || First == '%' ||
               First == '\'';
    }
    return Last == '\'' && First == '\'';
}

void AppendText(std::string_view Text, std::string& Out) {
    if (!Out.empty() && !Text.empty() &&
        NeedsBlank(static_cast<unsigned char>(Out.back()), static_cast<unsigned char>(Text[0]))) {
        Out += ' ';
    }
    Out += Text;
}

QString FromBytes(const QString& Prefix, const std::string& Bytes) {
    return Prefix + QString::fromUtf8(Bytes.data(), qsizetype(Bytes.size()));
}

} // namespace

QString GetLeafText(const TReduction* Node, const TLeafList& Leaves, const QString& Prefix) {
    std::string bytes;
    ForEachLeaf(Node, Leaves, [&bytes](const TToken* Leaf) { AppendText(Leaf->Text, bytes); });
    return FromBytes(Prefix, bytes);
}

QString GetLeafText(const TToken* Token, const TLeafList& Leaves, const QString& Prefix) {
    std::string bytes;
    ForEachLeaf(Token, Leaves, [&bytes](const TToken* Leaf) { AppendText(Leaf->Text, bytes); });
    return FromBytes(Prefix, bytes);
}

const TToken* FindToken(const TReduction* Node, const std::string& Name) {
    if (Node == nullptr) {
        return nullptr;
    }
    for (const TToken* token : Node->Tokens()) {
        if (token != nullptr && token->GetName() == Name) {
            return token;
        }
    }
    return nullptr;
}

const TToken* FindNextToken(const TReduction* Node, const std::string& Name) {
    if (Node == nullptr) {
        return nullptr;
    }
    for (size_t i = 0; i < Node->Tokens().size(); ++i) {
        const TToken* token = Node->Tokens()[i];
        if (token != nullptr && token->GetName() == Name) {
            return i + 1 < Node->Tokens().size() ? Node->Tokens()[i + 1] : nullptr;
        }
    }
    return nullptr;
}

// One entry of the walk's stack.
struct TTreeConverter::TStep {
    enum TKind : std::uint8_t {
        skCall,     // start a converter call on Node
        skChildren, // a running call: Index is its next child
        skBranch,   // enter branch Branch of Block, convert Node
        skUnder,    // keep Block on the stack while Node is converted
        skLeave,    // the end of skBranch or skUnder
    };
    TKind Kind = skCall;
    int Branch = -1;
    int Index = 0;
    const TReduction* Node = nullptr;
    TFCList* Chart = nullptr;
    TFlowBlock* Block = nullptr;
};

TTreeConverter::TTreeConverter(TChartSink& Sink, const TSymbolTable& Symbols,
                               const TLeafList& Leaves)
    : Leaves(Leaves), Sink(Sink), Codes(size_t(Symbols.GetCount()), 0),
      Watches(size_t(Symbols.GetCount()), swPass) {
    for (int32_t i = 0; i < Symbols.GetCount(); ++i) {
        NamesByIndex.push_back(Symbols.Find(i) != nullptr ? Symbols.Find(i)->Name : std::string());
    }
}

TTreeConverter::~TTreeConverter() = default;

void TTreeConverter::MapSymbol(const std::string& Name, int Code, TSymbolWatch Watch) {
    for (size_t i = 0; i < NamesByIndex.size(); ++i) {
        if (NamesByIndex[i] == Name) {
            Codes[i] = Code;
            Watches[i] = Watch;
        }
    }
}

const TToken* TTreeConverter::FindChild(const TReduction* Node, int Code) const {
    if (Node == nullptr) {
        return nullptr;
    }
    for (const TToken* token : Node->Tokens()) {
        if (CodeOf(token) == Code) {
            return token;
        }
    }
    return nullptr;
}

const TToken* TTreeConverter::FindChildAfter(const TReduction* Node, int Code) const {
    if (Node == nullptr) {
        return nullptr;
    }
    for (size_t i = 0; i < Node->Tokens().size(); ++i) {
        if (CodeOf(Node->Tokens()[i]) == Code) {
            return i + 1 < Node->Tokens().size() ? Node->Tokens()[i + 1] : nullptr;
        }
    }
    return nullptr;
}

TFlowBlock* TTreeConverter::AddBlock(const TCall& Call, TBlockKind Kind, const QString& Text) {
    if (Call.Chart == nullptr || Current == nullptr) {
        return nullptr;
    }
    // A call that adds a second block after its first one (a grammar that
    // puts two statements under one node) would aim the second at a branch
    // of a simple block; such a block follows its predecessor instead.
    const int branch = Call.Branch < Current->ItemCount() ? Call.Branch : -1;
    const TMouseInfo target(branch);
    Current = Call.Chart->AddBlock(Current, Kind, -1, Text, &target);
    return Current;
}

TFlowBlock* TTreeConverter::AddSimpleBlock(const TCall& Call, TBlockKind Kind,
                                           const QString& Text) {
    TFlowBlock* block = AddBlock(Call, Kind, Text);
    State.BranchIndex = -1;
    return block;
}

TFCList* TTreeConverter::NewChart(const QString& Caption, const QString& RootText) {
    auto chart = std::make_unique<TFCList>();
    chart->Caption = Caption;
    Current = chart->AddBlock(nullptr, bkRoot, -1, RootText, nullptr);
    State.BranchIndex = -1;
    TFCList* result = chart.get();
    Sink.AddChart(std::move(chart));
    return result;
}

void TTreeConverter::ScheduleWalk(const TToken* Child, TFCList* Chart) {
    const TReduction* node = NodeOf(Child);
    if (node == nullptr || !node->HoldsWatched()) {
        return;
    }
    TStep step;
    step.Kind = TStep::skCall;
    step.Node = node;
    step.Chart = Chart;
    Scheduled.push_back(step);
}

void TTreeConverter::ScheduleBranch(TFlowBlock* Block, int Branch, const TToken* Child,
                                    TFCList* Chart) {
    if (Child == nullptr || Block == nullptr) {
        return;
    }
    TStep step;
    step.Kind = TStep::skBranch;
    step.Branch = Branch;
    step.Node = NodeOf(Child);
    step.Chart = Chart;
    step.Block = Block;
    Scheduled.push_back(step);
}

void TTreeConverter::ScheduleUnder(TFlowBlock* Block, const TToken* Child, TFCList* Chart) {
    if (Child == nullptr || Block == nullptr) {
        return;
    }
    TStep step;
    step.Kind = TStep::skUnder;
    step.Node = NodeOf(Child);
    step.Chart = Chart;
    step.Block = Block;
    Scheduled.push_back(step);
}

void TTreeConverter::Convert(const TReduction* Root) {
    Steps.clear();
    Scheduled.clear();
    State.Stack.Clear();
    State.BranchIndex = -1;
    Current = nullptr;
    if (Root == nullptr) {
        return;
    }
    TStep first;
    first.Node = Root;
    Steps.push_back(first);
    while (!Steps.empty()) {
        RunTop();
    }
}

void TTreeConverter::RunTop() {
    TStep& step = Steps.back();
    switch (step.Kind) {
    case TStep::skCall:
        // The call fixes its insertion target now, when it is entered.
        step.Kind = TStep::skChildren;
        step.Branch = State.BranchIndex;
        step.Index = 0;
        if (step.Node == nullptr) {
            Steps.pop_back();
        }
        return;
    case TStep::skChildren: {
        // A child that holds nothing ConvertChild acts on would change
        // nothing: it is passed over without being looked at.
        const TReduction* node = step.Node;
        size_t index = size_t(step.Index);
        while (index < node->Tokens().size() && !node->ChildHoldsWatched(index)) {
            ++index;
        }
        if (index >= node->Tokens().size()) {
            Steps.pop_back();
            return;
        }
        step.Index = int(index) + 1;
        const TToken* child = node->Tokens()[index];
        const TCall call{step.Node, step.Chart, step.Branch};
        if (child != nullptr) {
            ConvertChild(call, child);
        }
        FlushScheduled();
        return;
    }
    case TStep::skBranch:
    case TStep::skUnder: {
        State.BranchIndex = step.Kind == TStep::skBranch ? step.Branch : -1;
        State.Stack.Push(step.Block);
        Current = step.Block;
        TStep call;
        call.Node = step.Node;
        call.Chart = step.Chart;
        step.Kind = TStep::skLeave;
        Steps.push_back(call);
        return;
    }
    case TStep::skLeave: {
        TFlowBlock* block = State.Stack.Pop();
        Current = block != nullptr ? block : step.Block;
        State.BranchIndex = -1;
        Steps.pop_back();
        return;
    }
    }
}

void TTreeConverter::FlushScheduled() {
    // The steps run in the order they were scheduled: the last lies lowest.
    while (!Scheduled.empty()) {
        Steps.push_back(std::move(Scheduled.back()));
        Scheduled.pop_back();
    }
}

} // namespace tvx
