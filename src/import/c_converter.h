#pragma once
// Turns the parse tree of an accepted C source (grammar "ImportCPP") into one
// chart per function definition, captioned with the function's signature.
#include "import/tree_converter.h"

namespace tvx {

class TCConverter : public TTreeConverter {
public:
    TCConverter(TChartSink& Sink, const TSymbolTable& Symbols);

protected:
    void ConvertChild(const TCall& Call, const TToken* Child) override;
};

} // namespace tvx
