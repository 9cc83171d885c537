#pragma once
// The code generator: turns a block of a chart, with everything inside its
// branches, into Pascal, C++ or Basic text, one line at a time, handing each
// finished line to a line sink at once.
//
// It holds no word of its own: every keyword is the current text of a Prog
// pool id and the indentation unit is the Serv text "sm_tabsym", looked up at
// the moment the line is written, so a changed word shows in the next run.
// Language, mode and text clean-up come from export_state.h.
#include <QString>
#include <cstdint>
#include <vector>

namespace tvx {

class TCodeSink;
class TFlowBlock;
class TMainSettings;

// Number of blocks from Head along Next to the last one; 0 for nullptr.
int ChainLength(const TFlowBlock* Head);

class TCodeGenerator {
public:
    // Both must outlive the generator.
    TCodeGenerator(TCodeSink& Sink, const TMainSettings& Settings);

    // Writes Block and every block inside its branches; the blocks that
    // follow Block in its own chain are not written. nullptr, or an
    // ExportLanguage outside elPascal..elBasic, writes nothing. Every line goes
    // to the sink as soon as it is complete.
    // However deep the chart nests, the run needs no more stack than for a
    // flat one: what is left to write waits on a list of steps.
    //
    // The only change made to the chart is to NoEndOp flags, each set for the
    // time its block is written and back to 0 before the run returns, also
    // when the sink raises. Two runs over one chart must not overlap.
    void SavePartToFile(TFlowBlock* Block);

    // The block text as it is written: with the clean-up switch on, CR LF, CR
    // and LF each become a blank and runs of blanks shrink to one.
    static QString FlattenText(const QString& Text);

private:
    // The pieces every line of one block is made of, fixed when writing of
    // the block starts.
    struct TPieces {
        QString I; // indentation
        QString T; // cleaned text
        QString E; // statement end, empty while the block's NoEndOp is 1
        QString S; // kind suffix of annotated Pascal
    };

    // One piece of the run still to do.
    struct TStep {
        enum TKind : std::uint8_t {
            skLine,   // hand Text to the sink
            skBlock,  // write Block
            skChain,  // write Block and the blocks after it in its chain
            skSingle, // write Block with its NoEndOp set to Flag, then reset
            skReset,  // Block's NoEndOp back to 0
        };
        TKind Kind = skLine;
        std::uint8_t Flag = 0;
        TFlowBlock* Block = nullptr;
        QString Text;
    };

    // Runs Steps until none is left.
    void Run();
    // The text of one block: its own lines, and steps for the blocks in its
    // branches, all added to Expansion in the order they are written.
    void WriteBlock(TFlowBlock& B);
    TPieces PiecesOf(const TFlowBlock& B, bool withSuffix) const;
    QString W(const char* Id) const;
    QString Indent(const TFlowBlock& B) const;
    void Line(const QString& Text);
    void Nested(TStep::TKind Kind, TFlowBlock* Block, std::uint8_t Flag = 0);

    void WriteChain(TFlowBlock* Head);
    // Writes the single block of a branch with its NoEndOp set to the given
    // value for the time of the writing, then back to 0.
    void WriteSingle(TFlowBlock& Single, std::uint8_t NoEndOp);

    // Pascal.
    void WritePascal(TFlowBlock& B);
    void WritePascalDecision(TFlowBlock& B, const TPieces& P);
    void WritePascalClosingBranch(TFlowBlock& B, const TPieces& P, int Branch);
    void WritePascalLoopBody(TFlowBlock& B, const TPieces& P);
    void WritePascalBracketedChain(TFlowBlock* Head, const TPieces& P, const QString& EndTail);

    // C++ and Basic (Basic differs in a few rows only).
    void WriteCLike(TFlowBlock& B, bool Basic);
    void WriteCWhile(TFlowBlock& B, const TPieces& P, bool Basic);
    // One branch of a decision or loop: the head line depends on whether the
    // branch is empty, holds one block or several (wrapped in begin/end).
    struct TBranchHeads {
        QString None;
        QString One;
        QString Many;
    };
    void WriteCBranch(TFlowBlock& B, int Branch, const TPieces& P, const TBranchHeads& Heads);
    QString Parenthesised(const QString& Text) const;

    TCodeSink& Sink;
    const TMainSettings& Settings;
    // What is left to do, the next step last; and the steps of the block
    // being expanded, in writing order.
    std::vector<TStep> Steps;
    std::vector<TStep> Expansion;
};

// Runs the generator with the program's settings object (MainSettings), which
// must exist.
void SavePartToFile(TCodeSink& Sink, TFlowBlock* Block);

} // namespace tvx
