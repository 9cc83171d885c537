// C++ and Basic text. Both use the same Prog words as Pascal and never set
// NoEndOp, so every statement keeps its end, also before an else line.
#include "chart/flow_block.h"
#include "codegen/code_generator.h"

namespace tvx {

void TCodeGenerator::WriteCLike(TFlowBlock& B, bool Basic) {
    const TPieces P = PiecesOf(B, false);
    switch (B.Kind) {
    case bkProcess:
        Line(P.I + P.T + P.E);
        break;
    case bkCall:
        Line(P.I + P.T + P.E + " " + W("sm_remopen1") + "call " + W("sm_procedure") +
             W("sm_remclose1"));
        break;
    case bkOutput:
        if (Basic) {
            Line(P.I + W("sm_output") + "(\"" + P.T + "\")" + P.E);
        } else {
            Line(P.I + W("sm_output") + P.T + P.E);
        }
        break;
    case bkInput:
        if (Basic) {
            Line(P.I + W("sm_input") + "(\"" + P.T + "\")" + P.E);
        } else {
            Line(P.I + W("sm_input") + P.T + P.E);
        }
        break;
    case bkIfElse: {
        const QString head = P.I + W("sm_if") + " " + Parenthesised(P.T);
        WriteCBranch(B, 0, P, {head + W("sm_endop"), head, head});
        const QString elseHead = P.I + W("sm_else");
        WriteCBranch(B, 1, P, {elseHead + " " + W("sm_endop"), elseHead, elseHead});
        break;
    }
    case bkWhile:
        WriteCWhile(B, P, Basic);
        break;
    case bkFor: {
        const QString head = P.I + W("sm_for") + " " + Parenthesised(P.T);
        WriteCBranch(B, 0, P, {head + W("sm_endop"), head, head});
        break;
    }
    case bkRepeat:
        Line(P.I + W("sm_do"));
        WriteChain(B.GetItemChain(0));
        Line(P.I + W("sm_while") + " " + Parenthesised(P.T) + P.E);
        break;
    case bkRoot:
        if (Basic) {
            Line(W("sm_program") + " " + P.T + W("sm_endop"));
        } else {
            Line(W("sm_program") + " () //" + P.T);
        }
        Line(W("sm_begin"));
        WriteChain(B.GetItemChain(0));
        Line(W("sm_end"));
        break;
    default:
        // One-branch decisions, multi-way selections, page breaks and the
        // kinds no command creates have no C++ or Basic text; their branches
        // are not visited.
        break;
    }
}

void TCodeGenerator::WriteCWhile(TFlowBlock& B, const TPieces& P, bool Basic) {
    const QString cond = W("sm_while") + " " + Parenthesised(P.T);
    if (Basic) {
        const QString repeatHead = P.I + W("sm_repeat") + " " + cond + W("sm_endop");
        WriteCBranch(B, 0, P, {repeatHead, P.I + cond, repeatHead});
    } else {
        // The head of a body of several statements has one blank more.
        WriteCBranch(B, 0, P, {P.I + cond + W("sm_endop"), P.I + cond, P.I + " " + cond});
    }
}

void TCodeGenerator::WriteCBranch(TFlowBlock& B, int Branch, const TPieces& P,
                                  const TBranchHeads& Heads) {
    TFlowBlock* head = B.GetItemChain(Branch);
    const int n = ChainLength(head);
    if (n == 0) {
        Line(Heads.None);
    } else if (n == 1) {
        Line(Heads.One);
        Nested(TStep::skBlock, head);
    } else {
        Line(Heads.Many);
        Line(P.I + W("sm_begin"));
        WriteChain(head);
        Line(P.I + W("sm_end"));
    }
}

QString TCodeGenerator::Parenthesised(const QString& Text) const {
    return W("sm_remopen") + Text + W("sm_remclose");
}

} // namespace tvx
