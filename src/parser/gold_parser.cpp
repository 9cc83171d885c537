#include "parser/gold_parser.h"

#include <algorithm>

namespace tvx {

namespace {

// Stands in for the end symbol when no grammar is loaded, so that a scan
// without tables still hands out a token with a symbol.
const TSymbol NoGrammarEnd("EOF", skEnd, -1);

const std::shared_ptr<const TGrammarTables>& NoGrammar() {
    static const auto none = std::make_shared<const TGrammarTables>();
    return none;
}

// The bytes of the UTF-8 character at Text[At]: the error token holds a whole
// character, so that a message can show it. A byte that starts no sound
// sequence stands alone.
size_t CharacterLength(const std::string& Text, size_t At) {
    const auto lead = static_cast<unsigned char>(Text[At]);
    const size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                          : lead >= 0xE0 && lead <= 0xEF ? 3
                          : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                         : 1;
    for (size_t i = 1; i < length; ++i) {
        if (At + i >= Text.size() || (static_cast<unsigned char>(Text[At + i]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

} // namespace

TGOLDParser::TGOLDParser() : Tables(NoGrammar()) {}

TGOLDParser::~TGOLDParser() = default;

bool TGOLDParser::LoadCompiledGrammar(const QString& FileName) {
    return UseGrammar(LoadGrammarTables(FileName));
}

bool TGOLDParser::UseGrammar(std::shared_ptr<const TGrammarTables> Grammar) {
    Watches.clear(); // they name symbols of the old tables
    Reset();         // the old parse points into the old tables
    const bool loaded = Grammar != nullptr;
    Tables = loaded ? std::move(Grammar) : NoGrammar();
    // Find the end and error symbols of the new tables.
    Reset();
    return loaded;
}

bool TGOLDParser::OpenTextString(std::string Text) {
    Reset();
    // A token takes at least a byte or two of the text: room for that many
    // leaves is never moved, and the part no leaf reaches is never touched.
    Leaves.reserve(Text.size() / 2);
    Source.SetText(std::move(Text));
    PushInitialToken();
    return true;
}

void TGOLDParser::Reset() {
    EOFSymbol = nullptr;
    ErrorSymbol = nullptr;
    for (int32_t i = 0; i < Tables->SymbolTable.GetCount(); ++i) {
        const TSymbol* symbol = Tables->SymbolTable.Find(i);
        if (symbol == nullptr) {
            continue;
        }
        if (symbol->Kind == skEnd) {
            EOFSymbol = symbol;
        } else if (symbol->Kind == skError) {
            ErrorSymbol = symbol;
        }
    }
    IgnoreCase = Tables->Variables.GetValue("Case Sensitive") != "True";
    CurrentLALR = Tables->LALRInit;
    CurrentLine = 1;
    CommentLevel = 0;
    CommentPair = -1;
    HaveReduction = false;
    ReductionsSinceShift = 0;
    DepthAtShift = 0;
    ExpectedTokens.Clear();
    InputTokens.Clear();
    Stack.Clear();
    States.clear();
    Leaves.clear();
}

void TGOLDParser::PushInitialToken() {
    const TSymbol* start = Tables->SymbolTable.Find(Tables->StartSymbol);
    if (start == nullptr) {
        return;
    }
    Stack.Push(Stack.NewToken(start));
    States.push_back(Tables->LALRInit);
}

TGOLDParser::TScan TGOLDParser::ScanComment() const {
    const TCommentDelimiters::TMatch match = Tables->Comments.Match(
        *Tables, Source.GetText(), Source.GetPosition(), CommentPair, NestedComments);
    return {match.Symbol, match.Length};
}

TGOLDParser::TScan TGOLDParser::ScanNext() const {
    const std::string& text = Source.GetText();
    const size_t start = Source.GetPosition();
    if (start >= text.size() || Tables->DFAInitRow < 0 || EOFSymbol == nullptr) {
        return {EOFSymbol ? EOFSymbol : &NoGrammarEnd, 0};
    }
    // Longest match: run the DFA as far as it goes and keep the last
    // accepting state passed on the way.
    const auto* moves = Tables->DFAMoves.data();
    const TSymbol* const* accepts = Tables->DFAAccept.data();
    int32_t state = Tables->DFAInitRow;
    const TSymbol* acceptSymbol = nullptr;
    size_t acceptLength = 0;
    for (size_t n = start; n < text.size(); ++n) {
        state = moves[state][static_cast<unsigned char>(text[n])];
        if (state < 0) {
            break;
        }
        if (accepts[state] != nullptr) {
            acceptSymbol = accepts[state];
            acceptLength = n - start + 1;
        }
    }
    if (acceptSymbol == nullptr) {
        return {ErrorSymbol, CharacterLength(text, start)}; // the character that starts no token
    }
    return {acceptSymbol, acceptLength};
}

void TGOLDParser::Consume(size_t Length) {
    const char* at = Source.GetText().data() + Source.GetPosition();
    CurrentLine += static_cast<int32_t>(std::count(at, at + Length, '\r'));
    Source.Skip(Length);
}

std::unique_ptr<TToken> TGOLDParser::RetrieveToken() {
    const TScan scan = ScanNext();
    auto token = std::make_unique<TToken>(
        scan.Symbol, std::string_view(Source.GetText()).substr(Source.GetPosition(), scan.Length));
    Consume(scan.Length);
    return token;
}

TParseMessage TGOLDParser::Parse() {
    if (!IsLoaded()) {
        return msgNotLoadedError;
    }
    for (;;) {
        if (InputTokens.GetCount() == 0) {
            // Whitespace, comments and whatever stands inside comments are
            // dealt with as they are scanned, before they become tokens.
            if (CommentLevel > 0) {
                // Inside a block comment only the delimiters of its own pair
                // and the end of the text matter.
                if (Source.Done()) {
                    return msgCommentError;
                }
                const TScan scan = ScanComment();
                Consume(scan.Length);
                if (scan.Symbol != nullptr) {
                    CommentLevel += scan.Symbol->Kind == skCommentStart ? 1 : -1;
                }
                continue;
            }
            const TScan scan = ScanNext();
            const TSymbolKind kind = scan.Symbol->Kind;
            if (kind == skWhitespace) {
                Consume(scan.Length);
                continue;
            }
            if (kind == skCommentStart) {
                Consume(scan.Length);
                CommentLevel = 1;
                CommentPair = Tables->Comments.PairOf(scan.Symbol);
                continue;
            }
            if (kind == skCommentLine) {
                Consume(scan.Length);
                DiscardRestOfLine();
                continue;
            }
            InputTokens.Push(InputTokens.NewToken(
                scan.Symbol,
                std::string_view(Source.GetText()).substr(Source.GetPosition(), scan.Length)));
            Consume(scan.Length);
            return msgTokenRead;
        }
        TToken* token = InputTokens.Top();
        if (token->GetKind() == skError) {
            return msgLexicalError; // the error token stays for the caller
        }
        switch (ParseToken(token)) {
        case prAccept:
            return msgAccept;
        case prShift:
            InputTokens.Pop(); // it now lies on the parse stack
            break;
        case prReduceNormal:
            return msgReduction;
        case prReduceEliminated:
            break;
        case prSyntaxError:
            return msgSyntaxError;
        case prInternalError:
            return msgInternalError;
        }
    }
}

TGOLDParser::TParseResult TGOLDParser::ParseToken(TToken* Token) {
    const TLRStep action = Tables->FindAction(CurrentLALR, Token->GetTableIndex());
    if (!action.Found()) {
        ListExpectedTokens();
        return prSyntaxError;
    }
    HaveReduction = false;
    ExpectedTokens.Clear();
    switch (action.Action) {
    case acShift:
        // Correct tables accept at the end of the text; shifting it would
        // read the end over and over.
        if (Token->GetKind() == skEnd) {
            return prInternalError;
        }
        ReductionsSinceShift = 0;
        DepthAtShift = Stack.GetCount() + 1;
        CurrentLALR = action.Value;
        Stack.Push(Token);
        States.push_back(action.Value);
        Leaves.push_back(Token);
        return prShift;
    case acReduce:
        return Reduce(action.Value);
    case acAccept:
        HaveReduction = true;
        return prAccept;
    default:
        // A goto on a terminal, or a code no table should hold.
        return prInternalError;
    }
}

TGOLDParser::TParseResult TGOLDParser::Reduce(int32_t RuleIndex) {
    // Between two shifts a correct automaton reduces at most about once per
    // state for every stack level; far more means the tables loop.
    const int64_t limit = (DepthAtShift + 2) * (Tables->LALRTables.GetCount() + 1);
    if (++ReductionsSinceShift > limit) {
        return prInternalError;
    }
    const TRuleShape& rule = Tables->RuleShapes[static_cast<size_t>(RuleIndex)];
    const int32_t count = rule.Length;
    TToken* head = nullptr;
    TParseResult result = prReduceNormal;
    if (TrimReductions && rule.OneNonTerminal) {
        // The single child takes the head's place instead of getting a parent.
        if (Stack.GetCount() < 2) {
            return prInternalError;
        }
        head = Stack.Pop();
        States.pop_back();
        head->ParentSymbol = rule.Head;
        result = prReduceEliminated;
    } else {
        // The bottom token must stay: the goto below starts from it.
        if (Stack.GetCount() <= count || count > TReduction::MaxChildren) {
            return prInternalError;
        }
        HaveReduction = true;
        TReduction* reduction = Stack.NewReduction(rule.Rule, count);
        States.resize(States.size() - static_cast<size_t>(count));
        head = &reduction->Head;
        // The children's leaves are the last ones shifted.
        int32_t leaves = 0;
        uint32_t watched = 0;
        const auto children = reduction->Tokens();
        for (size_t i = 0; i < children.size(); ++i) {
            const TToken* child = children[i];
            const TReduction* below = child->GetReduction();
            leaves += below != nullptr ? below->LeafCount : 1;
            if (Holds(child)) {
                watched |= uint32_t{1} << std::min(i, TReduction::LastChildBit);
            }
        }
        if (!Watches.empty()) {
            reduction->WatchedChildren = static_cast<uint16_t>(watched);
        }
        reduction->LeafCount = leaves;
        reduction->FirstLeaf = std::max(static_cast<int32_t>(Leaves.size()) - leaves, -1);
    }
    const TLRStep action = Tables->FindAction(States.back(), rule.HeadIndex);
    if (action.Action != acGoto) {
        return prInternalError;
    }
    CurrentLALR = action.Value;
    Stack.Push(head);
    States.push_back(action.Value);
    return result;
}

void TGOLDParser::ListExpectedTokens() {
    ExpectedTokens.Clear();
    for (const TLRAction& action : Tables->LALRTables.GetItem(CurrentLALR)->Actions) {
        const TSymbolKind kind = action.Symbol->Kind;
        if (kind == skTerminal || kind == skEnd) {
            ExpectedTokens.Push(ExpectedTokens.NewToken(action.Symbol));
        }
    }
}

void TGOLDParser::DiscardRestOfLine() {
    std::string scratch;
    Source.ReadLine(scratch);
    ++CurrentLine;
}

} // namespace tvx
