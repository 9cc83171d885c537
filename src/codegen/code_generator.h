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

    // Writes Block and, recursively, every block inside its branches; the
    // blocks that follow Block in its own chain are not written. nullptr, or an
    // ExportLanguage outside elPascal..elBasic, writes nothing. FileName goes to
    // the sink with every line; empty sends the lines to the buffers only.
    //
    // The only change made to the chart is to NoEndOp flags, each set for the
    // time its block is written and back to 0 before the run returns. Two runs
    // over one chart must not overlap.
    void SavePartToFile(const QString& FileName, TFlowBlock* Block);

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

    void WriteBlock(TFlowBlock& B);
    TPieces PiecesOf(const TFlowBlock& B, bool withSuffix) const;
    QString W(const char* Id) const;
    QString Indent(const TFlowBlock& B) const;
    void Line(const QString& Text);

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
    QString FileName; // of the run in progress
};

// Runs the generator with the program's settings object (MainSettings), which
// must exist.
void SavePartToFile(TCodeSink& Sink, const QString& FileName, TFlowBlock* Block);

} // namespace tvx
