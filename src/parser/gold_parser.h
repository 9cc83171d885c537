#pragma once
// The grammar-driven parser: a DFA scanner and an LALR(1) driver run by the
// tables of a compiled grammar file. Parse() is called in a loop; each call
// returns when something happens that the caller may want to see.
#include "parser/grammar_reader.h"
#include "parser/grammar_tables.h"
#include "parser/parse_tree.h"
#include "parser/source_feeder.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <string>

namespace tvx {

enum TParseMessage : int32_t {
    msgTokenRead = 1,
    msgReduction = 2,
    msgAccept = 3,
    msgNotLoadedError = 4,
    msgLexicalError = 5,
    msgSyntaxError = 6,
    msgCommentError = 7,
    msgInternalError = 8,
};

class TGOLDParser {
public:
    TGOLDParser();
    TGOLDParser(const TGOLDParser&) = delete;
    TGOLDParser& operator=(const TGOLDParser&) = delete;
    ~TGOLDParser();

    // Reset, then load the table file; false (and nothing loaded) when the
    // file cannot be read or is not a sound table file.
    bool LoadCompiledGrammar(const QString& FileName);
    // Reset, then parse by Grammar from now on: tables loaded before, which
    // other parsers may share. False (and nothing loaded) for null.
    bool UseGrammar(std::shared_ptr<const TGrammarTables> Grammar);
    // Starts a parse of Text (UTF-8 bytes); the previous parse tree is freed.
    bool OpenTextString(std::string Text);
    void Reset();
    TParseMessage Parse();

    // The token just read (message 1), the look-ahead that caused a reduction
    // (2), the error token (5) or the token with no action (6); null if none.
    TToken* GetCurrentToken() const { return InputTokens.Top(); }
    // The node just built (2) or the root of the tree (3); null otherwise.
    TReduction* GetCurrentReduction() const {
        return HaveReduction && Stack.Top() != nullptr ? Stack.Top()->GetReduction() : nullptr;
    }

    int32_t GetCurrentLine() const { return CurrentLine; }
    // One token per terminal acceptable where a syntax error was found, in
    // the order of the state's actions.
    const TTokenStack& GetExpectedTokens() const { return ExpectedTokens; }
    // The terminals of the parse tree in source order, for ForEachLeaf.
    const TLeafList& GetLeaves() const { return Leaves; }
    // Tells the parser what its caller looks for in the tree, one entry per
    // symbol table index (missing entries pass): every node then notes
    // whether its subtree holds a watched symbol, so that the caller can
    // pass over the subtrees that hold none. Empty: nothing is watched and
    // every node counts as holding something.
    void WatchSymbols(std::vector<TSymbolWatch> PerSymbol) { Watches = std::move(PerSymbol); }
    // Whether a block comment inside a block comment of the same pair opens
    // a further level (true unless told otherwise; C comments do not nest).
    void SetNestedComments(bool Value) { NestedComments = Value; }
    bool GetTrimReductions() const { return TrimReductions; }
    // Set: rules made of a single nonterminal build no node of their own.
    void SetTrimReductions(bool Value) { TrimReductions = Value; }

    // The tables parsed by; empty ones when none are loaded.
    const std::shared_ptr<const TGrammarTables>& GetGrammar() const { return Tables; }
    const TVariableList& GetVariables() const { return Tables->Variables; }
    const TSymbolTable& GetSymbolTable() const { return Tables->SymbolTable; }
    const TRuleTable& GetRuleTable() const { return Tables->RuleTable; }
    const std::vector<std::string>& GetCharacterSetTable() const {
        return Tables->CharacterSetTable;
    }
    const TFStateTable& GetDFA() const { return Tables->DFA; }
    const TLRActionTables& GetLALRTables() const { return Tables->LALRTables; }
    int32_t GetDFAInit() const { return Tables->DFAInit; }
    int32_t GetLALRInit() const { return Tables->LALRInit; }
    bool GetIgnoreCase() const { return IgnoreCase; }

    // One scanner step: the next token of the source (never null), with
    // CurrentLine advanced by the CR characters it holds. Parse() calls it;
    // it is public for tools that only want to scan.
    std::unique_ptr<TToken> RetrieveToken();

private:
    enum TParseResult {
        prAccept,
        prShift,
        prReduceNormal,
        prReduceEliminated,
        prSyntaxError,
        prInternalError,
    };

    struct TScan {
        const TSymbol* Symbol;
        size_t Length; // bytes of the token; 0 for the end of the text
    };
    // The next token of the source without consuming it: the longest match
    // of the DFA, else a one-byte error token.
    TScan ScanNext() const;
    // Inside a block comment: the next delimiter of its pair, or one byte of
    // comment text (a null symbol).
    TScan ScanComment() const;
    // Consumes the token's bytes and counts the CR characters among them.
    void Consume(size_t Length);
    void PushInitialToken();
    TParseResult ParseToken(TToken* Token);
    TParseResult Reduce(int32_t RuleIndex);
    void ListExpectedTokens();
    // Whether Token is watched for or passes on a watched symbol beneath it.
    bool Holds(const TToken* Token) const {
        const auto index = static_cast<size_t>(Token->GetTableIndex());
        switch (index < Watches.size() ? Watches[index] : swPass) {
        case swWatch:
            return true;
        case swStop:
            return false;
        default:
            return Token->GetReduction() != nullptr && Token->GetReduction()->HoldsWatched();
        }
    }
    void DiscardRestOfLine();
    bool IsLoaded() const { return !Tables->LALRTables.IsEmpty() && !Tables->DFA.IsEmpty(); }

    // Never null: empty tables when no grammar is loaded. The tokens of a
    // parse point to its symbols, so the parser keeps them alive.
    std::shared_ptr<const TGrammarTables> Tables;
    bool TrimReductions = false;
    const TSymbol* ErrorSymbol = nullptr;
    const TSymbol* EOFSymbol = nullptr;
    bool IgnoreCase = true;
    int32_t CurrentLALR = 0;
    int32_t CurrentLine = 1;
    int32_t CommentLevel = 0;
    int CommentPair = -1; // the delimiter pair of the comment open at level 1
    bool NestedComments = true;
    bool HaveReduction = false;
    // Guards against damaged tables that would reduce forever: reductions
    // since the last shift and the stack depth at that shift.
    int64_t ReductionsSinceShift = 0;
    int64_t DepthAtShift = 0;
    TTokenStack Stack;
    std::vector<int32_t> States; // the LALR state of each token on Stack
    TTokenStack ExpectedTokens;
    TTokenStack InputTokens;
    TLeafList Leaves; // every terminal shifted, in order
    std::vector<TSymbolWatch> Watches;
    TSourceFeeder Source;
};

} // namespace tvx
