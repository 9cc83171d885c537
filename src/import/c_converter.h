#pragma once
// Turns the parse tree of an accepted C source (grammar "ImportCPP") into one
// chart per function definition, captioned with the function's signature.
//
// Inside a function, every expression statement and every return becomes a
// process block; if, while, do and for become decision and loop blocks whose
// branches hold the blocks of their parts. Other statements (switch, labels,
// blocks) are looked into, so their statements appear one after the other.
// Declarations make no blocks. There is no input or output block: a printf
// is a process block like any other call.
#include "import/tree_converter.h"

namespace tvx {

class TCConverter : public TTreeConverter {
public:
    TCConverter(TChartSink& Sink, const TSymbolTable& Symbols, const TLeafList& Leaves);

protected:
    void ConvertChild(const TCall& Call, const TToken* Child) override;

private:
    void ConvertFunction(const TReduction* Node);
    void ConvertIf(const TCall& Call, const TReduction* Node);
    void ConvertLoop(const TCall& Call, const TReduction* Node, TBlockKind Kind,
                     const QString& Text, int BodyIndex);
    void ConvertFor(const TCall& Call, const TReduction* Node);
    void ConvertStatement(const TCall& Call, const TReduction* Node);
    bool IsEmptyStatement(const TToken* Body) const;
    const TToken* FunctionName(const TReduction* Id) const;
    QString Signature(const TReduction* Function, const TReduction* Id, const TToken* Name) const;
    QString ParameterList(const TReduction* Function) const;
    QString ParameterText(const TReduction* Param) const;
};

} // namespace tvx
