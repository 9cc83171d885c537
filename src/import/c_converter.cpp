#include "import/c_converter.h"
#include "parser/parse_tree.h"

namespace tvx {

// Placeholder until the C conversion lands: every child with a node of its
// own is walked and no chart is built.
TCConverter::TCConverter(TChartSink& Sink, const TSymbolTable& Symbols)
    : TTreeConverter(Sink, Symbols) {}

void TCConverter::ConvertChild(const TCall& Call, const TToken* Child) {
    ScheduleWalk(Child, Call.Chart);
}

} // namespace tvx
