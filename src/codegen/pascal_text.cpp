// Pascal text of every block kind. The statement-end rule: a statement ends
// with "sm_endop" unless it stands directly before the else line of a decision
// or is the last piece of a decision or loop that stands there. The single
// block of a yes branch is therefore written with NoEndOp set; a single block
// of a closing branch or loop body inherits its owner's flag.
#include "chart/flow_block.h"
#include "codegen/code_generator.h"

namespace tvx {

void TCodeGenerator::WritePascal(TFlowBlock& B) {
    const TPieces P = PiecesOf(B, true);
    switch (B.Kind) {
    case bkProcess:
    case bkCall:
        Line(P.I + P.T + P.E + P.S);
        break;
    case bkOutput:
        Line(P.I + W("sm_output") + "(" + P.T + ")" + P.E + P.S);
        break;
    case bkInput:
        Line(P.I + W("sm_input") + "(" + P.T + ")" + P.E + P.S);
        break;
    case bkIfElse:
    case bkIfYesLeft:
        WritePascalDecision(B, P);
        break;
    case bkWhile:
        Line(P.I + W("sm_while") + " " + P.T + " " + W("sm_do"));
        WritePascalLoopBody(B, P);
        break;
    case bkFor:
        Line(P.I + W("sm_for") + " " + P.T + " " + W("sm_do"));
        WritePascalLoopBody(B, P);
        break;
    case bkRepeat:
        Line(P.I + W("sm_repeat"));
        WriteChain(B.GetItemChain(0));
        Line(P.I + W("sm_Until") + " " + P.T + P.E);
        break;
    case bkRoot:
        // No indentation, and the program line always ends its statement.
        Line(W("sm_program") + " " + P.T + W("sm_endop"));
        Line(W("sm_begin"));
        WriteChain(B.GetItemChain(0));
        Line(W("sm_end") + ".");
        break;
    default:
        // Multi-way selections, no-branch-only decisions, page breaks and the
        // kinds no command creates have no Pascal text; their branches are
        // not visited.
        break;
    }
}

void TCodeGenerator::WritePascalDecision(TFlowBlock& B, const TPieces& P) {
    Line(P.I + W("sm_if") + " " + P.T + " " + W("sm_then"));
    if (B.Kind == bkIfYesLeft) {
        WritePascalClosingBranch(B, P, 0);
        return;
    }
    TFlowBlock* yes = B.GetItemChain(0);
    const int n = ChainLength(yes);
    if (n == 1) {
        WriteSingle(*yes, 1); // stands right before the else line
    } else if (n > 1) {
        WritePascalBracketedChain(yes, P, QString());
    }
    Line(P.I + W("sm_else"));
    WritePascalClosingBranch(B, P, 1);
}

void TCodeGenerator::WritePascalClosingBranch(TFlowBlock& B, const TPieces& P, int Branch) {
    TFlowBlock* head = B.GetItemChain(Branch);
    const int n = ChainLength(head);
    if (n == 1) {
        WriteSingle(*head, B.NoEndOp);
    } else {
        WritePascalBracketedChain(head, P, P.E);
    }
}

void TCodeGenerator::WritePascalLoopBody(TFlowBlock& B, const TPieces& P) {
    TFlowBlock* head = B.GetItemChain(0);
    const int n = ChainLength(head);
    if (n == 0 && B.NoEndOp == 0) {
        Line(P.I + P.E); // an empty statement
    } else if (n == 0) {
        Line(P.I + W("sm_begin"));
        Line(P.I + W("sm_end"));
    } else if (n == 1) {
        WriteSingle(*head, B.NoEndOp);
    } else {
        WritePascalBracketedChain(head, P, P.E);
    }
}

void TCodeGenerator::WritePascalBracketedChain(TFlowBlock* Head, const TPieces& P,
                                               const QString& EndTail) {
    Line(P.I + W("sm_begin"));
    WriteChain(Head);
    Line(P.I + W("sm_end") + EndTail);
}

} // namespace tvx
