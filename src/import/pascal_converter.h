#pragma once
// Turns the parse tree of an accepted Pascal source (grammar "ImportPAS")
// into charts: one for the program or unit, one for every procedure and
// function (nested ones too) and one for a unit's finalization section, each
// with a root block and the blocks of its statements.
#include "import/tree_converter.h"

namespace tvx {

class TPascalConverter : public TTreeConverter {
public:
    TPascalConverter(TChartSink& Sink, const TSymbolTable& Symbols, const TLeafList& Leaves);

protected:
    void ConvertChild(const TCall& Call, const TToken* Child) override;

private:
    // Routines: a chart each, the statements converted from its root.
    void ConvertProgram(const TReduction* Header, const TToken* Block);
    void ConvertUnit(const TReduction* Node);
    void ConvertRoutine(const TReduction* Node, int HeadingCode);
    // The statements of a unit's finalization section, in a chart of their own.
    void ConvertFinalization(const TToken* Statements);
    // Statements, while a chart is being filled.
    void ConvertIf(const TCall& Call, const TReduction* Node);
    void ConvertLoop(const TCall& Call, const TReduction* Node, TBlockKind Kind, int ConditionAfter,
                     int BodyAfter);
    void ConvertFor(const TCall& Call, const TReduction* Node);
    void ConvertCall(const TCall& Call, const TReduction* Node);
    QString RoutineName(const TReduction* Header) const;

    // The block of a program whose heading was converted from its parent;
    // the parent's walk passes over it.
    const TToken* Consumed = nullptr;
    QString UnitName; // of the unit being converted
};

} // namespace tvx
